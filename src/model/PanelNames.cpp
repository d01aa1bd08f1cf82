#include "PanelNames.h"

namespace t2 {

Bytes NameAsPanelHolds(const Bytes& name, std::size_t length)
{
    Bytes held = name.substr(0, length);
    held.resize(length, ' ');
    return held;
}

Bytes PanelNameAsPanelHolds(const Bytes& name)
{
    return NameAsPanelHolds(name.empty() ? Bytes(DefaultPanelName) : name, PanelNameBytes);
}

Bytes NameAsPanelCompares(const Bytes& name)
{
    const std::size_t end = name.find_last_not_of(' ');
    return end == Bytes::npos ? Bytes() : name.substr(0, end + 1);
}

void NamesAsPanelCompares(PanelConfig& config, VantelDevices& devices)
{
    config.PanelName = NameAsPanelCompares(config.PanelName.empty() ? Bytes(DefaultPanelName) : config.PanelName);
    for (NameArray* names : {&config.RelayNames, &config.GroupNames, &config.InputNames, &config.TimerNames,
                             &config.PresetNames})
        for (Bytes& name : *names) name = NameAsPanelCompares(name);
    for (VantelDevice& d : devices) d.DeviceName = NameAsPanelCompares(d.DeviceName);
}

}  // namespace t2
