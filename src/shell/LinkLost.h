// The program's session with the panel as the windows reach it, and what the
// program does when the link to the panel is lost.
//
// Windows that talk to the panel use:
//     t2::PanelExchange* exchange = t2::CurrentExchange();   // null without a session
//     if (!exchange->Send(t2::RelayStatusCommand())) { t2::HandleLinkLost(); return; }
//     t2::CurrentSession()->PolledLink()   // serial/modem: poll every 250 ms
#pragma once

namespace t2 {

class PanelExchange;
class PanelSession;

// The program's session (the connection window's, created with that window on
// first use), or null when there is none.
PanelSession* CurrentSession();
PanelExchange* CurrentExchange();

// The reaction to a failed command while a session is open: disconnect (the
// connection window's DisconnectCV), close all child windows, bring the
// connection window to the front and say "Connection To Tamberline II Panel
// Lost". A lost link reported while this runs is the same loss.
void HandleLinkLost();

}  // namespace t2
