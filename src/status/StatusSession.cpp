#include "StatusSession.h"

#include "PanelExchange.h"
#include "PanelSession.h"
#include "LinkLost.h"

#include "PanelConfig.h"

namespace t2 {

namespace {
std::function<void()>& LinkLostHandler()
{
    static std::function<void()> handler;
    return handler;
}
int intervalOverride = 0;
}  // namespace

PanelExchange* StatusExchange()
{
    PanelSession* s = ActiveSession();
    return s ? &s->Exchange() : nullptr;
}

bool StatusLinkIsTcp(const ProgramState& state)
{
    PanelSession* s = ActiveSession();
    if (s && state.PanelConnected) return !s->PolledLink();
    return state.Config.ConnectionType() > 1;
}

void StatusLinkLost()
{
    if (LinkLostHandler()) {
        LinkLostHandler()();
    } else {
        HandleLinkLost();
    }
}

void SetLinkLostHandler(std::function<void()> handler) { LinkLostHandler() = std::move(handler); }

void SetStatusIntervalOverride(int ms) { intervalOverride = ms > 0 ? ms : 0; }

int StatusInterval(int ms) { return intervalOverride > 0 ? intervalOverride : ms; }

}  // namespace t2
