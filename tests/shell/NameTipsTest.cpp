#include "NameTips.h"

#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

using namespace t2;

namespace {

// Points at the label as the mouse would and waits for the tool tip; "" when
// none shows.
QString PointAt(QLabel* label)
{
    QToolTip::hideText();
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000));
    const QPoint pos = label->rect().center();
    QHelpEvent event(QEvent::ToolTip, pos, label->mapToGlobal(pos));
    QApplication::sendEvent(label, &event);
    if (!QTest::qWaitFor([] { return QToolTip::isVisible(); }, 1000)) return {};
    return QToolTip::text();
}

struct NameTips : testing::Test {
    void SetUp() override
    {
        window.resize(400, 100);
        label = new QLabel(&window);
        label->setTextFormat(Qt::PlainText);
        label->setGeometry(10, 10, 60, 20);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    void TearDown() override { QToolTip::hideText(); }

    QWidget window;
    QLabel* label = nullptr;
};

}  // namespace

TEST_F(NameTips, TheWholeNameOnlyWhileItDoesNotFit)
{
    label->setToolTip("Relay 01");
    ShowWholeNameInToolTip(label);
    ShowWholeNameInToolTip(label);  // a second call changes nothing

    // Text given after the helper: a long name is shown whole after the own tip,
    // as it is (markup and runs of spaces included).
    const QString name = "KITCHEN  <b>EAST</b> WING & STORE";
    label->setText(name);
    EXPECT_FALSE(LabelTextFits(label));
    EXPECT_EQ(NameToolTip(label), "Relay 01\n" + name);
    const QString shown = PointAt(label);
    EXPECT_EQ(shown, "<p style='white-space:pre'>Relay 01<br>KITCHEN  &lt;b&gt;EAST&lt;/b&gt; WING &amp; STORE</p>");

    // A short name, or a label made wide enough: the own tip alone.
    label->setText("HALL");
    EXPECT_TRUE(LabelTextFits(label));
    EXPECT_EQ(NameToolTip(label), "Relay 01");
    EXPECT_EQ(PointAt(label), "Relay 01");
    label->setText(name);
    label->resize(label->fontMetrics().horizontalAdvance(name) + 2, label->height());
    EXPECT_TRUE(LabelTextFits(label));
    EXPECT_EQ(PointAt(label), "Relay 01");

    // A tool tip set later is the one shown first.
    label->resize(60, 20);
    label->setToolTip("Relay 09");
    EXPECT_EQ(NameToolTip(label), "Relay 09\n" + name);
}

TEST_F(NameTips, WithoutAToolTipOfItsOwn)
{
    ShowWholeNameInToolTip(label);
    label->setText("HALL");
    EXPECT_EQ(NameToolTip(label), "");
    EXPECT_EQ(PointAt(label), "");
    label->setText("A NAME LONGER THAN ITS LABEL");
    EXPECT_EQ(NameToolTip(label), "A NAME LONGER THAN ITS LABEL");
    EXPECT_EQ(PointAt(label), "<p style='white-space:pre'>A NAME LONGER THAN ITS LABEL</p>");

    // Margins and a frame take room from the text.
    label->setText("HALL");
    label->resize(label->fontMetrics().horizontalAdvance("HALL") + 1, label->height());
    EXPECT_TRUE(LabelTextFits(label));
    label->setMargin(4);
    EXPECT_FALSE(LabelTextFits(label));
    EXPECT_EQ(NameToolTip(label), "HALL");

    // A word-wrapped label fits while its lines fit its height.
    label->setMargin(0);
    label->setWordWrap(true);
    label->setText("ONE TWO");
    label->resize(label->fontMetrics().horizontalAdvance("TWO") + 4, label->fontMetrics().height() * 2 + 2);
    EXPECT_TRUE(LabelTextFits(label));
    label->setText("ONE TWO SIX");
    EXPECT_FALSE(LabelTextFits(label));
}

// The end of a text that tells labels apart stays in sight: the part before
// it is shortened, and the whole text is what the tool tip shows.
TEST_F(NameTips, ShortenedInFrontOfTheEndThatMustShow)
{
    label->setToolTip("Input 03");
    const QString whole = " WWWWWWWWWW.3";
    SetTextKeepingEnd(label, whole, 2);
    EXPECT_TRUE(ShowsWholeNameInToolTip(label));
    EXPECT_TRUE(label->text().endsWith(QString(QChar(0x2026)) + ".3")) << label->text().toStdString();
    EXPECT_TRUE(label->text().startsWith(" W"));
    EXPECT_TRUE(LabelTextFits(label));
    EXPECT_EQ(NameToolTip(label), "Input 03\n" + whole);
    EXPECT_EQ(PointAt(label), "<p style='white-space:pre'>Input 03<br> WWWWWWWWWW.3</p>");

    // A text that fits is shown as it is, with the own tool tip alone.
    SetTextKeepingEnd(label, " HALL.3", 2);
    EXPECT_EQ(label->text(), " HALL.3");
    EXPECT_EQ(NameToolTip(label), "Input 03");

    // A text set later in the plain way is judged as any other.
    SetTextKeepingEnd(label, whole, 2);
    label->setText("HALL");
    EXPECT_EQ(NameToolTip(label), "Input 03");

    // Even where nothing but the end fits, the end shows.
    label->resize(label->fontMetrics().horizontalAdvance(".3") + 2, label->height());
    SetTextKeepingEnd(label, whole, 2);
    EXPECT_TRUE(label->text().endsWith(".3")) << label->text().toStdString();
}
