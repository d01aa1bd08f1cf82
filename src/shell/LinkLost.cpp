#include "LinkLost.h"

#include "Prompts.h"
#include "WindowRegistry.h"

#include "PanelSession.h"

#include <QScopedValueRollback>

namespace t2 {

PanelSession* CurrentSession()
{
    if (!ActiveSession()) {
        if (AppShell* shell = Shell()) shell->Window("frmT2Connect");
    }
    return ActiveSession();
}

PanelExchange* CurrentExchange()
{
    PanelSession* session = CurrentSession();
    return session ? &session->Exchange() : nullptr;
}

void HandleLinkLost()
{
    static bool running = false;
    if (running) return;
    const QScopedValueRollback guard(running, true);
    AppShell* shell = Shell();
    // The connection window's disconnect, and the session's own where no
    // connection window took it (a stand-in, or none yet).
    if (shell) shell->Disconnect();
    PanelSession* session = ActiveSession();
    if (session && session->State().PanelConnected) session->Disconnect();
    if (shell) {
        shell->CloseAllWindows();
        shell->ShowWindow("frmT2Connect");
    }
    Inform("VEL Tamberline II", "Connection To Tamberline II Panel Lost", PromptIcon::Exclamation);
    if (shell) shell->UpdateStatusBar();
}

bool DeferWhileLinkBusy(std::function<void()> action, QObject* context)
{
    PanelSession* session = ActiveSession();
    if (!session || !session->Exchange().Busy()) return false;
    session->Exchange().WhenIdle(std::move(action), context);
    return true;
}

}  // namespace t2
