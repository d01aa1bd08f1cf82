#include "EditHistory.h"

#include "PanelConfig.h"

namespace t2 {

struct ConfigSnapshot {
    PanelConfig config;
    VantelDevices devices;

    bool Same(const ProgramState& s) const { return config == s.Config && devices == s.Devices; }
};

namespace {

std::shared_ptr<const ConfigSnapshot> Take(const ProgramState& s)
{
    return std::make_shared<const ConfigSnapshot>(ConfigSnapshot{s.Config, s.Devices});
}

// Roughly what a snapshot holds: the records and the text of their names.
std::size_t SizeOf(const ConfigSnapshot& s)
{
    std::size_t n = sizeof s;
    const PanelConfig& c = s.config;
    n += c.PanelName.size();
    for (const NameArray* names : {&c.RelayNames, &c.GroupNames, &c.InputNames, &c.TimerNames, &c.PresetNames})
        for (const Bytes& name : *names) n += name.size();
    for (const VantelDevice& d : s.devices) n += d.DeviceName.size();
    return n;
}

}  // namespace

void EditHistory::Reset(const ProgramState& state)
{
    undo_.clear();
    redo_.clear();
    typing_ = nullptr;
    recorded_ = Take(state);
    saved_ = recorded_;
}

void EditHistory::MarkSaved(const ProgramState& state)
{
    if (!recorded_ || !recorded_->Same(state)) Record(state, "");
    saved_ = recorded_;
    typing_ = nullptr;
}

bool EditHistory::IsSaved(const ProgramState& state) const { return saved_ && saved_->Same(state); }

void EditHistory::Record(const ProgramState& state, const std::string& what, const void* typing)
{
    if (!recorded_) recorded_ = Take(state);
    if (recorded_->Same(state)) return;   // nothing changed (a picker opened, a name pressed)
    if (!(typing && typing == typing_ && !undo_.empty())) {
        undo_.push_back({recorded_, what});
        Trim();
    }
    redo_.clear();
    recorded_ = Take(state);
    typing_ = typing;
}

void EditHistory::EndTyping(const void* typing)
{
    if (!typing || typing == typing_) typing_ = nullptr;
}

std::string EditHistory::UndoName() const { return undo_.empty() ? std::string() : undo_.back().what; }

std::string EditHistory::RedoName() const { return redo_.empty() ? std::string() : redo_.back().what; }

bool EditHistory::Undo(ProgramState& state) { return Step(undo_, redo_, state); }

bool EditHistory::Redo(ProgramState& state) { return Step(redo_, undo_, state); }

// Takes the last step of from back: the configuration as it is now goes onto
// to under the step's name, and the step's configuration comes back.
bool EditHistory::Step(std::deque<Entry>& from, std::deque<Entry>& to, ProgramState& state)
{
    if (from.empty()) return false;
    Entry step = std::move(from.back());
    from.pop_back();
    to.push_back({Take(state), step.what});
    state.Config = step.config->config;
    state.Devices = step.config->devices;
    recorded_ = std::move(step.config);
    typing_ = nullptr;
    return true;
}

void EditHistory::Trim()
{
    // Snapshots are shared between neighbouring steps only through recorded_
    // and saved_, so each step is counted once.
    std::size_t bytes = 0;
    for (const Entry& s : undo_) bytes += SizeOf(*s.config);
    while (undo_.size() > MaxSteps || (undo_.size() > MinSteps && bytes > MaxBytes)) {
        bytes -= SizeOf(*undo_.front().config);
        undo_.pop_front();
    }
}

void RecordEdit(ProgramState& state, const std::string& what, const void* typing)
{
    state.History.Record(state, what, typing);
    SetDataChanged(state, true);
}

}  // namespace t2
