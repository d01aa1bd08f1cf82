#include "PanelSimControl.h"

#include <sstream>
#include <vector>

namespace t2::sim {

namespace {

// Where the panel keeps which relays a group and a preset switch (one bit row
// of 6 bytes per group or preset); a row without bits is an unused item.
constexpr int GroupRelaysAt = 0x7E0;
constexpr int PresetRelaysOnAt = 0xED0;

const char* const Help =
    "relay N 0|1 | group N 0|1 | input N 0..3 | device D IN RESP LEVEL | display TEXT | lamps BITS | help";

// A decimal number, or hexadecimal after "0x" ("08" is eight, not a bad octal).
bool Number(const std::string& word, int& value)
{
    const bool hex = word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X');
    try {
        std::size_t used = 0;
        value = std::stoi(word, &used, hex ? 16 : 10);
        return used == word.size();
    } catch (...) {
        return false;
    }
}

}  // namespace

void ApplyDemoState(SimulatedPanel& panel)
{
    for (int g = 0; g < 6; ++g) panel.SetMemory(GroupRelaysAt + 6 * g, {static_cast<std::uint8_t>(1u << g)});
    for (int p = 0; p < 6; ++p) panel.SetMemory(PresetRelaysOnAt + 6 * p, {static_cast<std::uint8_t>(3u << p)});
    for (int r : {0, 2, 3, 7, 12}) panel.SetRelay(r, true);
    panel.SetGroup(1, true);
    panel.SetGroup(3, true);
    for (int i = 0; i < 12; ++i) panel.SetInput(i, i % 4);
    panel.SetDevice(1, {0b0101, 1, 0});
    panel.SetDevice(2, {0x03, 1, 0});
    panel.SetDevice(3, {0b10000010, 1, 0});
    panel.SetDevice(4, {0x3F, 0, 0});
    panel.SetDevice(5, {0x11, 1, 0});
    panel.SetDevice(6, {0x01, 1, 128});
    // Four lines of 20; codes 0..7 are the display's custom characters.
    static const char lines[] = " VEL TAMBERLINE II  "
                                "\x02 RELAY STATUS      "
                                "  12 ON   \x05 LAMPS   "
                                "\x00 \x01  MENU  \x04 \x06 \x07    ";
    static_assert(sizeof lines == 81);
    const std::string display(lines, 80);
    panel.SetDisplay(display);
    panel.SetLamps(0x21);
}

void AnimateStep(SimulatedPanel& panel, int step)
{
    const int relay = step % 16;
    panel.SetRelay(relay, !panel.Relay(relay));
    panel.SetInput(step % 12, (step / 12) % 4);
    for (int d = 1; d <= 6; ++d) {
        NetworkDevice v = panel.Device(d);
        v.inputs = (v.inputs + d) & 0xFF;
        if (d == 6) v.level = (step * 17) % 256;
        panel.SetDevice(d, v);
    }
    panel.SetLamps(1 << (step % 6));
}

std::string ControlCommand(SimulatedPanel& panel, const std::string& line)
{
    std::istringstream in(line);
    std::string verb;
    in >> verb;
    if (verb.empty()) return {};
    if (verb == "help") return Help;
    if (verb == "display") {
        std::string text = line.substr(line.find("display") + 7);
        if (!text.empty() && text[0] == ' ') text.erase(0, 1);
        panel.SetDisplay(text);
        return {};
    }
    std::vector<int> n;
    for (std::string word; in >> word;) {
        int v = 0;
        if (!Number(word, v)) return "not a number: " + word;
        n.push_back(v);
    }
    auto item = [](int i, int count) { return i >= 0 && i < count; };
    if (verb == "relay" && n.size() == 2 && item(n[0], Items)) {
        panel.SetRelay(n[0], n[1] != 0);
    } else if (verb == "group" && n.size() == 2 && item(n[0], Items)) {
        panel.SetGroup(n[0], n[1] != 0);
    } else if (verb == "input" && n.size() == 2 && item(n[0], Items) && n[1] >= 0 && n[1] <= 3) {
        panel.SetInput(n[0], n[1]);
    } else if (verb == "device" && n.size() == 4 && item(n[0], DeviceSlots)) {
        panel.SetDevice(n[0], {n[1] & 0xFF, n[2] & 0xFF, n[3] & 0xFF});
    } else if (verb == "lamps" && n.size() == 1) {
        panel.SetLamps(n[0] & 0x3F);
    } else {
        return std::string("usage: ") + Help;
    }
    return {};
}

}  // namespace t2::sim
