// The one path every user edit of the configuration takes, and the undo
// history it feeds.
//
// A window changes PanelConfig or VantelDevices and then calls RecordEdit with
// what the user would call the change (the window's caption, "Upload"): the
// configuration is marked changed, and when it differs from what was recorded
// last, the configuration as it was before becomes one undo step. Several
// edits with the same typing key (one text box while it has the focus, one
// scroll bar while it is dragged) make one step until EndTyping.
#pragma once

#include <cstddef>
#include <deque>
#include <memory>
#include <string>

namespace t2 {

struct ProgramState;
struct ConfigSnapshot;

class EditHistory {
public:
    // At least this many steps are kept; fewer only when they would take
    // more than MaxBytes.
    static constexpr std::size_t MinSteps = 200;
    static constexpr std::size_t MaxSteps = 400;
    static constexpr std::size_t MaxBytes = 50u << 20;

    // A fresh history over the configuration as it is now, which counts as
    // saved (start-up, New, Open).
    void Reset(const ProgramState& state);
    // The configuration as it is now has been saved.
    void MarkSaved(const ProgramState& state);
    // True when the configuration is the one last opened or saved.
    bool IsSaved(const ProgramState& state) const;

    // Records an edit made just now (see the file comment).
    void Record(const ProgramState& state, const std::string& what, const void* typing = nullptr);
    // Ends the step of a typing key (null: whatever is open).
    void EndTyping(const void* typing = nullptr);

    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }
    // What the next undo or redo would take back ("Relay Grouping"), or "".
    std::string UndoName() const;
    std::string RedoName() const;

    // Restores the configuration before the last step (after the last undone
    // one); false when there is none. The caller redraws and sets the
    // unsaved mark from IsSaved.
    bool Undo(ProgramState& state);
    bool Redo(ProgramState& state);

    std::size_t Steps() const { return undo_.size(); }

private:
    struct Entry {
        std::shared_ptr<const ConfigSnapshot> config;
        std::string what;
    };
    bool Step(std::deque<Entry>& from, std::deque<Entry>& to, ProgramState& state);
    void Trim();

    std::deque<Entry> undo_;   // newest last
    std::deque<Entry> redo_;   // next to redo last
    std::shared_ptr<const ConfigSnapshot> recorded_;   // the configuration as last recorded
    std::shared_ptr<const ConfigSnapshot> saved_;
    const void* typing_ = nullptr;
};

// The edit path: DataChanged set (and told), the edit recorded for undo.
void RecordEdit(ProgramState& state, const std::string& what, const void* typing = nullptr);

}  // namespace t2
