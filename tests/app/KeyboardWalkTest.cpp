// Every window of the catalog walked by Tab from end to end, and the main
// window's key for closing the open one.
#include "AppTestSupport.h"
#include "StartedMainWindow.h"

#include "ClickLabel.h"
#include "WindowCatalog.h"
#include "WindowRegistry.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QRadioButton>
#include <QSet>

using namespace t2;

namespace {

class KeyboardWalk : public StartedMainWindow {
public:
    void SetUp() override
    {
        StartedMainWindow::SetUp();
        QApplication::setActiveWindow(w.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    }
};

// The controls of a window the user can reach by Tab now (seen, enabled);
// of a set of option buttons Tab reaches the one chosen (the arrows the others).
QList<QWidget*> Reachable(QWidget* window)
{
    QList<QWidget*> list;
    for (QWidget* c : window->findChildren<QWidget*>()) {
        if (c->isWindow() || c->window() != window->window() || !c->isVisible() || !c->isEnabled() ||
            !(c->focusPolicy() & Qt::TabFocus))
            continue;
        if (auto* option = qobject_cast<QRadioButton*>(c); option && !option->isChecked()) continue;
        // A part of a spin box is the box; a tab widget takes the focus in its tabs.
        if (qobject_cast<QAbstractSpinBox*>(c->parentWidget())) continue;
        while (c->focusProxy()) c = c->focusProxy();
        if (!list.contains(c)) list << c;
    }
    return list;
}

QString Names(const QList<QWidget*>& list)
{
    QStringList names;
    for (QWidget* c : list) names << c->objectName();
    return names.join(' ');
}

}  // namespace

TEST_F(KeyboardWalk, TabWalksEveryWindowEndToEndAndReachesEveryActingLabel)
{
    // The real connection window, not the stand-in of the other tests.
    RegisterAllWindows();
    struct StandInBack {
        ~StandInBack() { RegisterWindow("frmT2Connect", [](ProgramState&) { return new FakeConnect; }); }
    } standIn;
    for (const WindowEntry& entry : RegisteredWindows()) {
        SCOPED_TRACE(entry.name.toStdString());
        QWidget* window = w->OpenWindow(entry.name);
        ASSERT_NE(window, nullptr);
        QCoreApplication::processEvents();
        const QList<QWidget*> reachable = Reachable(window);
        // Every label that acts on a click is one of them.
        for (ClickLabel* label : window->findChildren<ClickLabel*>()) {
            if (label->isVisible() && label->Acts()) {
                EXPECT_TRUE(reachable.contains(label)) << label->objectName().toStdString();
            }
        }
        if (reachable.isEmpty()) continue;

        QWidget* first = reachable.front();
        first->setFocus(Qt::TabFocusReason);
        ASSERT_EQ(QApplication::focusWidget(), first);
        QSet<QWidget*> walked{first};
        QWidget* at = first;
        int kept = 0;   // Tabs the focus stayed (a date box's parts take one each)
        const int most = 4 * static_cast<int>(reachable.size()) + 20;
        for (int step = 0; step < most; ++step) {
            QTest::keyClick(at, Qt::Key_Tab);
            QWidget* next = QApplication::focusWidget();
            ASSERT_NE(next, nullptr) << "after " << at->objectName().toStdString();
            // A control that keeps the focus on Tab after Tab is a trap.
            kept = next == at ? kept + 1 : 0;
            if (reachable.size() > 1) {
                ASSERT_LT(kept, 4) << "trapped in " << at->objectName().toStdString();
            }
            at = next;
            if (at == first && kept == 0) break;
            walked.insert(at);
        }
        EXPECT_EQ(at, first) << "Tab did not come round to " << first->objectName().toStdString();
        QList<QWidget*> missed;
        for (QWidget* c : reachable)
            if (!walked.contains(c)) missed << c;
        EXPECT_TRUE(missed.isEmpty()) << Names(missed).toStdString();
    }
}

TEST_F(KeyboardWalk, CtrlF4ClosesTheOpenWindow)
{
    QWidget* window = w->OpenWindow("frmT2RelayOutputOptions");
    ASSERT_NE(window, nullptr);
    QWidget* cell = window->findChild<QWidget*>("lblTimerType_0");
    ASSERT_NE(cell, nullptr);
    cell->setFocus(Qt::TabFocusReason);
    ASSERT_EQ(QApplication::focusWidget(), cell);
    QTest::keyClick(cell, Qt::Key_F4, Qt::ControlModifier);
    EXPECT_FALSE(w->IsWindowOpen("frmT2RelayOutputOptions"));
    EXPECT_FALSE(state.DataChanged);
    // With nothing open the key does nothing.
    QTest::keyClick(w.get(), Qt::Key_F4, Qt::ControlModifier);
    EXPECT_TRUE(w->isVisible());
}
