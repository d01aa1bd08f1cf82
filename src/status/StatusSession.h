// How the live monitoring windows reach the panel: the exchange of the
// program's session (ActiveSession(), owned by the connection window) and the
// session's reaction to a lost link.
#pragma once

#include <functional>

namespace t2 {

class PanelExchange;
struct ProgramState;

// The exchange every status window talks through: the active session's, or
// null while there is no session.
PanelExchange* StatusExchange();

// True when the open session runs over TCP/IP (ConnectionType 2 and above):
// those windows read on request; serial and modem sessions are polled. With
// no session the configuration's ConnectionType decides.
bool StatusLinkIsTcp(const ProgramState& state);

// A reading failed: the session's HandleLinkLost (disconnect, close every
// child window, show the connection window, "Connection To Tamberline II
// Panel Lost"), or the handler installed instead.
void StatusLinkLost();
// Installs a handler to run instead (an empty function uninstalls it).
void SetLinkLostHandler(std::function<void()> handler);

// Polling intervals of the status windows. Tests shorten them: a value above
// zero replaces every interval the windows use (250, 750, 100 ms, ...).
void SetStatusIntervalOverride(int ms);
int StatusInterval(int ms);

}  // namespace t2
