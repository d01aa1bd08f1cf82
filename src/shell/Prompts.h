// Every message box and file dialog of the program goes through here, so that
// tests answer them without a person (see ScriptedPrompts below).
//
//   if (t2::AskYesNo("VEL Tamberline II", "Discard Any Changes?")) ...
//   t2::Inform("Download", "Download Complete", t2::PromptIcon::Information);
#pragma once

#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <vector>

namespace t2 {

enum class PromptIcon { None, Information, Question, Exclamation, Critical };
enum class PromptButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class PromptAnswer { Ok, Cancel, Yes, No };

struct PromptRequest {
    QString title;
    QString text;
    PromptIcon icon = PromptIcon::None;
    PromptButtons buttons = PromptButtons::Ok;
    QString details;        // shown behind the box's Details button; "" for none
    // Lines shown below the text, fields separated by TABs (a table: a row
    // per line, a column per field); "" for none.
    QString table;
};

struct FileRequest {
    bool save = false;      // Save dialog (asks before overwriting) or Open (file must exist)
    QString title;
    QString filter;         // Qt form: "Tamberline II Data Files (*.TMB *.tmb);;All Files (*)"
    QString startName;      // start file name or pattern; "" keeps the last folder
    QStringList sidebarFolders;  // offered in the dialog's sidebar besides the usual places
};

// The seam. Install a Prompter to answer instead of the user; the default
// shows QMessageBox / QFileDialog.
class Prompter {
public:
    virtual ~Prompter() = default;
    virtual PromptAnswer Ask(const PromptRequest& request) = 0;
    // The chosen path, or "" when cancelled.
    virtual QString AskFileName(const FileRequest& request) = 0;
};

// The prompter in use (the on-screen one unless a test installed another).
Prompter& Prompts();
// Installs a prompter (null restores the on-screen one). Returns the previous.
Prompter* SetPrompter(Prompter* prompter);

// Short forms.
PromptAnswer Ask(const QString& title, const QString& text, PromptIcon icon, PromptButtons buttons,
                 const QString& details = {});
bool AskYesNo(const QString& title, const QString& text, PromptIcon icon = PromptIcon::Question,
              const QString& details = {});
PromptAnswer AskYesNoCancel(const QString& title, const QString& text,
                            PromptIcon icon = PromptIcon::Question);
void Inform(const QString& title, const QString& text, PromptIcon icon = PromptIcon::Information);
QString AskOpenFileName(const QString& filter, const QString& startName, const QString& title = {},
                        const QStringList& sidebarFolders = {});
QString AskSaveFileName(const QString& filter, const QString& startName, const QString& title = {});

// A file filter written as pairs of name and patterns,
// "Text Files (*.TXT)|*.TXT|All Files (*.*)|*.*", in the form the file dialogs
// take: "Text Files (*.TXT *.txt);;All Files (*)" (each pattern also in lower
// case, "*.*" as "*", which also matches names without a dot).
QString QtFileFilter(const QString& pairs);

// For tests: answers from queues and records every question. Installs itself
// while it lives. An unexpected message is answered Ok/No (and recorded); an
// unexpected file dialog is cancelled.
class ScriptedPrompts : public Prompter {
public:
    ScriptedPrompts() { previous_ = SetPrompter(this); }
    ~ScriptedPrompts() override { SetPrompter(previous_); }
    ScriptedPrompts(const ScriptedPrompts&) = delete;
    ScriptedPrompts& operator=(const ScriptedPrompts&) = delete;

    std::deque<PromptAnswer> answers;   // next answers to message boxes
    std::deque<QString> fileNames;      // next answers to file dialogs
    std::vector<PromptRequest> asked;   // every message box, in order
    std::vector<FileRequest> fileAsked; // every file dialog, in order

    PromptAnswer Ask(const PromptRequest& request) override
    {
        asked.push_back(request);
        if (!answers.empty()) {
            PromptAnswer a = answers.front();
            answers.pop_front();
            return a;
        }
        return request.buttons == PromptButtons::Ok || request.buttons == PromptButtons::OkCancel
                   ? PromptAnswer::Ok
                   : PromptAnswer::No;
    }
    QString AskFileName(const FileRequest& request) override
    {
        fileAsked.push_back(request);
        if (fileNames.empty()) return {};
        QString f = fileNames.front();
        fileNames.pop_front();
        return f;
    }
    QStringList Texts() const
    {
        QStringList t;
        for (const auto& r : asked) t << r.text;
        return t;
    }

private:
    Prompter* previous_ = nullptr;
};

}  // namespace t2
