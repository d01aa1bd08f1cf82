// The main window's File commands for the names: every name the panel shows
// written to one CSV file, and such a file read back after a preview.
#include "frmT2MasterMDI.h"

#include "NamesPreview.h"
#include "Prompts.h"

#include "Defaults.h"
#include "EditHistory.h"
#include "NamesCsv.h"
#include "SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace t2 {

namespace {

const QString NamesFilter = QtFileFilter("Names Files (*.CSV)|*.CSV|All Files (*.*)|*.*");

// Rows listed in the message about a file that cannot be imported; the
// command-line tool lists them all.
constexpr std::size_t ListedBadRows = 15;

QString ToQString(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }
std::string ToPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace

// Beside the settings file and named after it; in the program folder before
// there is one.
QString frmT2MasterMDI::NamesFileStart() const
{
    if (state_.SettingsFileName == "None" || state_.SettingsFileName.empty())
        return QDir::toNativeSeparators(QDir(ToQString(ProgramFolder())).filePath("Names.csv"));
    const QFileInfo settings(ToQString(state_.SettingsFileName));
    return QDir::toNativeSeparators(settings.dir().filePath(settings.completeBaseName() + " Names.csv"));
}

void frmT2MasterMDI::ExportNamesCommand()
{
    const QString path = AskSaveFileName(NamesFilter, NamesFileStart(), "Export Names");
    if (path.isEmpty()) return;   // cancelled
    std::string error;
    if (!WriteFileAtomically(ToPath(path), WriteNamesCsv(state_.Config, state_.Devices), &error))
        Inform(Title, "The names file could not be written.\n\n" + QString::fromLocal8Bit(error),
               PromptIcon::Exclamation);
}

void frmT2MasterMDI::ImportNamesCommand()
{
    const QString path = AskOpenFileName(NamesFilter, NamesFileStart(), "Import Names");
    if (path.isEmpty()) return;   // cancelled

    // A names file is a small regular file: a pipe or a device could keep the
    // window waiting, so it is refused before it is opened.
    std::string bytes;
    std::string error;
    bool tooLong = false;
    const QFileInfo file(path);
    if (file.exists() && !file.isFile()) {
        error = ToPath(path) + " is not a names file: it is not a regular file";
    } else if (!ReadWholeFile(ToPath(path), MaxNamesFileBytes, bytes, &error, &tooLong)) {
        if (tooLong) error = ToPath(path) + " is not a names file: it is too long";
    }
    if (!error.empty()) {
        Inform(Title, "The names file could not be read.\n\n" + QString::fromLocal8Bit(error), PromptIcon::Exclamation);
        return;
    }

    const NamesImport import = ReadNamesCsv(bytes, state_.Config, state_.Devices);
    const QString shown = QDir::toNativeSeparators(path);
    if (!import.Ok()) {
        QString text = "Nothing was imported: these rows of " + shown +
                       " cannot be read. Mend them and import the file again.\n";
        for (std::size_t k = 0; k < import.badRows.size() && k < ListedBadRows; ++k)
            text += "\n" + QString::fromStdString(BadRowText(import.badRows[k]));
        if (import.badRows.size() > ListedBadRows)
            text += QString("\n... and %1 more").arg(import.badRows.size() - ListedBadRows);
        Inform(Title, text, PromptIcon::Exclamation);
        return;
    }
    if (import.changes.empty()) {
        Inform(Title, "The names in " + shown + " are the names the configuration already has: nothing to change.",
               PromptIcon::Information);
        return;
    }

    auto* preview = new NamesPreview(import, path, this);
    preview->setAttribute(Qt::WA_DeleteOnClose);
    connect(preview, &QDialog::accepted, this, [this, import] {
        ApplyNames(import, state_.Config, state_.Devices);
        RecordEdit(state_, "Import Names");   // all of it one step to undo
        ConfigurationReplaced();              // the open window shows the new names
    });
    preview->open();
}

}  // namespace t2
