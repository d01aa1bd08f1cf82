// The program's session with the panel as the windows reach it, and what the
// program does when the link to the panel is lost.
//
// Windows that talk to the panel use:
//     t2::PanelExchange* exchange = t2::CurrentExchange();   // null without a session
//     exchange->WhenIdle([=] { ... }, window);   // a click: after the exchange in progress
//     if (exchange->Busy()) return;              // a timer tick: skipped while one is
//     if (!exchange->Send(t2::RelayStatusCommand())) { t2::HandleLinkLost(); return; }
//     t2::CurrentSession()->PolledLink()   // serial/modem: poll every 250 ms
#pragma once

#include <functional>

class QObject;

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

// While the program's link is busy (an exchange in progress, a disconnect
// with its modem hang-up under way), queues action to run once it is free and
// returns true (the action is skipped if context is gone by then); otherwise
// returns false and the caller goes on. For what must not happen before the
// link is closed, such as the program's exit.
bool DeferWhileLinkBusy(std::function<void()> action, QObject* context);

}  // namespace t2
