// File Export Names... and Import Names... driven as a user does: the file
// dialogs, the preview with its marks, Accept as one undo step, and files
// that are refused.
#include "AppTestSupport.h"
#include "NamesPreview.h"
#include "StartedMainWindow.h"

#include "Defaults.h"
#include "NamesCsv.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>

using namespace t2;
using namespace t2::test;

namespace {

class NamesFileTest : public StartedMainWindow {
public:
    QString Write(const char* name, const QByteArray& bytes) const
    {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    // Import Names with the file chosen; the preview it opened, if any.
    NamesPreview* Import(const QString& path)
    {
        prompts.fileNames.push_back(path);
        w->MenuItem("mnuImportNames")->trigger();
        return w->findChild<NamesPreview*>("dlgImportNames");
    }
    QString Cell(NamesPreview* preview, int row, int column) const
    {
        const QTableWidgetItem* item = preview->Changes()->item(row, column);
        return item ? item->text() : QString("(none)");
    }

    QTemporaryDir dir;
};

}  // namespace

TEST_F(NamesFileTest, ImportShowsThePreviewAndAcceptIsOneUndoStep)
{
    w->OpenWindow("frmT2EditRelayNames");
    const PanelConfig before = state.Config;
    const QString path =
        Write("SITE.csv", "Kind,Number,Name\r\nrelay,1,lobby\r\nRelay,2,NORTH ENTRANCE\r\nGroup,5,ALL ON\r\n");
    NamesPreview* preview = Import(path);
    ASSERT_NE(preview, nullptr);
    ASSERT_EQ(prompts.fileAsked.size(), 1u);
    EXPECT_FALSE(prompts.fileAsked[0].save);
    EXPECT_EQ(prompts.fileAsked[0].title, "Import Names");
    EXPECT_EQ(prompts.fileAsked[0].filter, "Names Files (*.CSV *.csv);;All Files (*)");
    EXPECT_EQ(prompts.fileAsked[0].startName,
              QDir::toNativeSeparators(QDir(QString::fromStdString(ProgramFolder())).filePath("Names.csv")));

    // The preview: each change, old and new, with its marks; nothing changed yet.
    EXPECT_TRUE(preview->isVisible());
    EXPECT_EQ(preview->windowTitle(), "Import Names");
    ASSERT_EQ(preview->Changes()->rowCount(), 3);
    const QStringList expected[] = {
        {"Relay 1", "RELAY 01", "LOBBY", "filtered from \"lobby\""},
        {"Relay 2", "RELAY 02", "NORTH ENTRANCE", "longer than the 10 characters the panel keeps"},
        {"Group 5", "GROUP 05", "ALL ON", ""},
    };
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 4; ++column)
            EXPECT_EQ(Cell(preview, row, column), expected[row][column]) << row << "," << column;
    EXPECT_EQ(state.Config, before);
    EXPECT_FALSE(state.DataChanged);
    for (QWidget* control : std::initializer_list<QWidget*>{preview->Changes(), preview->AcceptButton(),
                                                            preview->CancelButton()}) {
        EXPECT_FALSE(control->accessibleName().isEmpty()) << control->objectName().toStdString();
        EXPECT_NE(control->focusPolicy() & Qt::TabFocus, 0) << control->objectName().toStdString();
    }
    EXPECT_TRUE(preview->AcceptButton()->isDefault());

    Click(preview->AcceptButton());
    EXPECT_EQ(state.Config.RelayNames[0], "LOBBY");
    EXPECT_EQ(state.Config.RelayNames[1], "NORTH ENTRANCE");
    EXPECT_EQ(state.Config.GroupNames[4], "ALL ON");
    EXPECT_TRUE(state.DataChanged);
    EXPECT_TRUE(w->windowTitle().endsWith(" *"));
    EXPECT_EQ(w->MenuItem("mnuUndo")->text(), "Undo Import Names");
    QWidget* names = w->FindWindow("frmT2EditRelayNames");
    EXPECT_EQ(names->findChild<QLineEdit*>("txtRelayName_0")->text(), "LOBBY");   // the open window shows them

    // One step takes every name back, and one brings them again.
    w->MenuItem("mnuUndo")->trigger();
    EXPECT_EQ(state.Config, before);
    EXPECT_FALSE(state.DataChanged);
    EXPECT_EQ(names->findChild<QLineEdit*>("txtRelayName_0")->text(), "RELAY 01");
    EXPECT_FALSE(w->MenuItem("mnuUndo")->isEnabled());
    EXPECT_EQ(w->MenuItem("mnuRedo")->text(), "Redo Import Names");
    w->MenuItem("mnuRedo")->trigger();
    EXPECT_EQ(state.Config.RelayNames[1], "NORTH ENTRANCE");
    EXPECT_EQ(state.Config.GroupNames[4], "ALL ON");
}

TEST_F(NamesFileTest, CancelledRefusedAndUnchangingFilesChangeNothing)
{
    const PanelConfig before = state.Config;
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
    struct Case {
        const char* what;
        QString path;        // "" cancels the file dialog
        bool preview;        // the preview opens (and is cancelled with Escape)
        QStringList said;    // in the one message shown, if any
        PromptIcon icon = PromptIcon::Exclamation;
    };
    const Case cases[] = {
        {"the file dialog cancelled", "", false, {}},
        {"the preview cancelled", Write("GOOD.csv", "Relay,1,LOBBY\r\n"), true, {}},
        {"rows that cannot be read",
         Write("BAD.csv", "Kind,Number,Name\r\nRelay,1,LOBBY\r\nRelay,49,X\r\nLamp,2,Y\r\nRelay,3\r\n"), false,
         {"Nothing was imported", "BAD.csv", "line 3: Relay number \"49\" is not in 1..48",
          "line 4: unknown kind \"Lamp\"", "line 5: a missing field"}},
        {"the names it already has", Write("SAME.csv", "Relay,1,RELAY 01\r\n"), false, {"nothing to change"},
         PromptIcon::Information},
        {"a folder", dir.filePath("folder"), false, {"not a regular file"}},
        {"a missing file", dir.filePath("missing.csv"), false, {"could not be read", "missing.csv"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        prompts.asked.clear();
        NamesPreview* preview = Import(c.path);
        EXPECT_EQ(preview != nullptr, c.preview);
        if (preview) {
            QTest::keyClick(preview, Qt::Key_Escape);
            EXPECT_TRUE(QTest::qWaitFor([&] { return !w->findChild<NamesPreview*>("dlgImportNames"); }, 10000));
        }
        EXPECT_EQ(prompts.asked.size(), c.said.isEmpty() ? 0u : 1u);
        if (!c.said.isEmpty() && !prompts.asked.empty()) {
            EXPECT_EQ(prompts.asked[0].icon, c.icon);
            for (const QString& text : c.said)
                EXPECT_TRUE(prompts.asked[0].text.contains(text)) << prompts.asked[0].text.toStdString();
        }
        EXPECT_EQ(state.Config, before);
        EXPECT_FALSE(state.DataChanged);
        EXPECT_FALSE(state.History.CanUndo());
    }
}

TEST_F(NamesFileTest, ExportWritesEveryNameBesideTheSettingsFile)
{
    state.Config.RelayNames[0] = "LOBBY";
    state.SettingsFileName = dir.filePath("SITE.TMB").toStdString();
    const QString path = dir.filePath("out.csv");
    prompts.fileNames.push_back(path);
    w->MenuItem("mnuExportNames")->trigger();
    ASSERT_EQ(prompts.fileAsked.size(), 1u);
    EXPECT_TRUE(prompts.fileAsked[0].save);
    EXPECT_EQ(prompts.fileAsked[0].title, "Export Names");
    EXPECT_EQ(prompts.fileAsked[0].startName, QDir::toNativeSeparators(dir.filePath("SITE Names.csv")));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll().toStdString(), WriteNamesCsv(state.Config, state.Devices));
    EXPECT_TRUE(prompts.asked.empty());
    EXPECT_FALSE(state.DataChanged);

    // A file that cannot be written says so.
    prompts.fileNames.push_back(dir.filePath("no folder/out.csv"));
    w->MenuItem("mnuExportNames")->trigger();
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(prompts.asked[0].icon, PromptIcon::Exclamation);
    EXPECT_TRUE(prompts.asked[0].text.contains("no folder")) << prompts.asked[0].text.toStdString();
}
