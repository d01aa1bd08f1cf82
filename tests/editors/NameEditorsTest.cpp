// The seven name editors driven as a user does: typing, clicking, checking.
#include "EditorGrid.h"
#include "GuiHelpers.h"
#include "NameEditors.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>

#include <memory>

using namespace t2;
using namespace t2::test;

namespace {

struct ListCase {
    const char* window;
    std::function<NameListEditor*(ProgramState&)> make;
    int ioPoints;
    int shown;            // rows shown
    int built;            // rows built
    const char* lastCaption;   // number label of the last shown row
    int preview;
    std::function<Bytes&(ProgramState&, int)> name;
};

std::vector<ListCase> ListCases()
{
    return {
        {"frmT2EditRelayNames", [](ProgramState& s) { return new frmT2EditRelayNames(s); }, 8, 8, 48, "Relay 08", 10,
         [](ProgramState& s, int r) -> Bytes& { return s.Config.RelayNames[r]; }},
        {"frmT2EditInputNames", [](ProgramState& s) { return new frmT2EditInputNames(s); }, 8, 8, 48, "Input 08", 10,
         [](ProgramState& s, int r) -> Bytes& { return s.Config.InputNames[r]; }},
        {"frmT2EditGroupNames", [](ProgramState& s) { return new frmT2EditGroupNames(s); }, 8, 48, 48, "Group 48", 10,
         [](ProgramState& s, int r) -> Bytes& { return s.Config.GroupNames[r]; }},
        {"frmT2EditTimerNames", [](ProgramState& s) { return new frmT2EditTimerNames(s); }, 4, 48, 48, "Timer 48", 10,
         [](ProgramState& s, int r) -> Bytes& { return s.Config.TimerNames[r]; }},
        {"frmT2EditPresetNames", [](ProgramState& s) { return new frmT2EditPresetNames(s); }, 4, 48, 48, "Preset 48", 10,
         [](ProgramState& s, int r) -> Bytes& { return s.Config.PresetNames[r]; }},
        {"frmT2EditVantelNames", [](ProgramState& s) { return new frmT2EditVantelNames(s); }, 4, 32, 32, "VT Node 20", 8,
         [](ProgramState& s, int r) -> Bytes& { return s.Devices[r + 1].DeviceName; }},
    };
}

}  // namespace

TEST(NameListEditors, RowsPreviewAndTyping)
{
    for (const ListCase& c : ListCases()) {
        SCOPED_TRACE(c.window);
        ProgramState s = FreshState(c.ioPoints);
        std::unique_ptr<NameListEditor> w(c.make(s));
        w->show();
        EXPECT_EQ(w->objectName(), c.window);
        EXPECT_FALSE(s.DataChanged) << "showing the names is no change";

        // Rows shown.
        EXPECT_EQ(w->Grid().Rows(), c.built);
        EXPECT_TRUE(w->Box(c.shown - 1)->isVisible());
        EXPECT_EQ(w->Grid().NameLabel(c.shown - 1)->text(), c.lastCaption);
        if (c.shown < c.built) {
            EXPECT_FALSE(w->Box(c.shown)->isVisible());
            EXPECT_FALSE(w->Grid().NameLabel(c.shown)->isVisible());
        }
        EXPECT_EQ(w->Box(1)->text().toStdString(), c.name(s, 1));

        // Typing: small letters become capitals, the ! is dropped.
        NameBox* box = w->Box(1);
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, "relay one!");
        EXPECT_EQ(c.name(s, 1), "RELAY ONE");
        EXPECT_TRUE(s.DataChanged);
        QTest::keyClick(box, Qt::Key_Backspace);
        EXPECT_EQ(c.name(s, 1), "RELAY ON");

        // The preview shows the row last touched, cut to the display's length;
        // its characters stand 240 twips apart from the frame's left (120, or
        // 240 for device names).
        ASSERT_EQ(w->PreviewLength(), c.preview);
        const int firstLeft = c.preview == 8 ? 240 : 120;
        for (int k : {0, c.preview - 1})
            EXPECT_EQ(w->PanelChar(k)->x(), w->Px(firstLeft + k * 240)) << "preview character " << k;
        QTest::keyClicks(box, "E OF FOURTEEN");
        EXPECT_EQ(c.name(s, 1), "RELAY ONE OF FOURTEEN");   // stored whole
        for (int k = 0; k < c.preview; ++k)
            EXPECT_EQ(w->PanelChar(k)->text(), QString("RELAY ONE OF FOURTEEN").mid(k, 1));
        Click(w->Box(0));
        EXPECT_EQ(w->PanelChar(0)->text(), QString::fromStdString(c.name(s, 0)).left(1));
        EXPECT_EQ(w->PanelChar(c.preview - 1)->text(), QString::fromStdString(c.name(s, 0)).mid(c.preview - 1, 1));
    }
}

TEST(NameListEditors, PasteIsFilteredAndSpareElementsStayAlone)
{
    ProgramState s = FreshState();
    s.Config.ModemPhoneNumber() = "5551234";
    frmT2EditTimerNames w(s);
    w.show();
    for (int r = 0; r < 48; ++r) EXPECT_NE(w.Box(r)->text(), "5551234");
    QGuiApplication::clipboard()->setText("hall\tway\n#2");
    NameBox* box = w.Box(47);
    box->setFocus();
    box->selectAll();
    QTest::keySequence(box, QKeySequence::Paste);
    EXPECT_EQ(s.Config.TimerNames[47], "HALLWAY#2");
    EXPECT_EQ(s.Config.ModemPhoneNumber(), "5551234");
}

TEST(NameListEditors, EightBitNamesMeetTheScreenAsWindows1252)
{
    ProgramState s = FreshState();
    s.Config.GroupNames[0] = "CAF\xC9 \x80";
    frmT2EditGroupNames w(s);
    w.show();
    EXPECT_EQ(w.Box(0)->text(), QString::fromUtf8("CAF\u00C9 \u20AC"));
    EXPECT_EQ(w.PanelChar(3)->text(), QString::fromUtf8("\u00C9"));
    QTest::keyClick(w.Box(0), Qt::Key_End);
    QTest::keyClicks(w.Box(0), "1");
    EXPECT_EQ(s.Config.GroupNames[0], "CAF\xC9 \x80" "1");
}

namespace {
void ClickBox(QCheckBox* chk)
{
    QTest::mouseClick(chk, Qt::LeftButton, {}, QPoint(8, chk->height() / 2));
}
}  // namespace

TEST(PanelNameEditor, DefaultNameBox)
{
    ProgramState s = FreshState();
    frmT2EditPanelName w(s);
    w.show();
    QCheckBox* chk = w.DefaultNameBox();
    EXPECT_EQ(chk->objectName(), "chkDefaultPanelName");
    EXPECT_TRUE(chk->isChecked());                     // empty name: the default one
    EXPECT_FALSE(w.NameEdit()->isVisible());
    EXPECT_FALSE(Find<QGroupBox>(w, "frmAsDisplayed")->isVisible());
    EXPECT_FALSE(s.DataChanged);

    ClickBox(chk);                                     // unchecking changes no data
    EXPECT_FALSE(chk->isChecked());
    EXPECT_TRUE(w.NameEdit()->isVisible());
    EXPECT_TRUE(Find<QLabel>(w, "lblPanelName")->isVisible());
    EXPECT_EQ(w.NameEdit()->text(), "");
    EXPECT_FALSE(s.DataChanged);

    w.NameEdit()->setFocus();
    QTest::keyClicks(w.NameEdit(), "main hall panel no. 1 west");
    EXPECT_EQ(s.Config.PanelName, "MAIN HALL PANEL NO. 1 WEST");
    EXPECT_TRUE(s.DataChanged);
    EXPECT_EQ(w.PanelChar(0)->text(), "M");
    EXPECT_EQ(w.PanelChar(17)->text(), "O");          // 18 characters previewed
    EXPECT_EQ(w.PanelChar(18), nullptr);
    EXPECT_EQ(w.PanelChar(17)->x(), w.Px(17 * 240 + 120));

    s.DataChanged = false;
    ClickBox(chk);                                     // checking empties the name
    EXPECT_TRUE(chk->isChecked());
    EXPECT_EQ(s.Config.PanelName, "");
    EXPECT_TRUE(s.DataChanged);
    EXPECT_FALSE(w.NameEdit()->isVisible());
    EXPECT_FALSE(Find<QGroupBox>(w, "frmAsDisplayed")->isVisible());

    // A name read back from the panel leaves the box clear.
    s.Config.PanelName = "VEL TAMBERLINE II ";
    w.OnActivate();
    EXPECT_FALSE(chk->isChecked());
    EXPECT_EQ(w.NameEdit()->text(), "VEL TAMBERLINE II ");
    EXPECT_EQ(w.PanelChar(16)->text(), "I");
}
