// Driving real windows from the tests: clicks, presses and choosing a picker
// entry the way a user does it.
#pragma once

#include "Defaults.h"
#include "EditorWindow.h"
#include "ClickLabel.h"
#include "NameBox.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QRegularExpression>
#include <QTest>

#include <gtest/gtest.h>

namespace t2::test {

// A fresh configuration with the given number of I/O points (a multiple of 4).
inline void SetIoPoints(ProgramState& s, int points)
{
    s.Config.NodeIOCount.fill(0);
    for (int node = 0; points > 0 && node < NodeCount; ++node) {
        const int units = std::min(points / 4, 8);
        s.Config.NodeIOCount[node] = static_cast<Integer>(units);
        points -= units * 4;
    }
}

inline ProgramState FreshState(int ioPoints = 4)
{
    ProgramState s;
    ResetConfiguration(s);
    SetIoPoints(s, ioPoints);
    s.DataChanged = false;
    return s;
}

template <typename W>
W* Find(QWidget& window, const QString& name)
{
    return window.findChild<W*>(name);
}

inline QString Element(const QString& array, int index)
{
    return array + '_' + QString::number(index);
}

inline void Click(QWidget* w)
{
    ASSERT_NE(w, nullptr);
    QTest::mouseClick(w, Qt::LeftButton);
}

// A click on a check box's or option button's indicator, where a user clicks
// (a click far right of a short caption misses the button).
inline void Tick(QAbstractButton* b)
{
    ASSERT_NE(b, nullptr);
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(b->height() / 2, b->height() / 2));
}

inline void Press(QWidget* w, Qt::MouseButton button, Qt::KeyboardModifiers mods)
{
    ASSERT_NE(w, nullptr);
    QTest::mousePress(w, button, mods);
    QTest::mouseRelease(w, button, mods);
}

// A real double click through the window system: press, release, press
// (which Qt turns into a double click), release.
inline void DoubleClick(QWidget* w)
{
    ASSERT_NE(w, nullptr);
    QWidget* top = w->window();
    const QPoint pos = w->mapTo(top, w->rect().center());
    QTest::mouseDClick(top->windowHandle(), Qt::LeftButton, {}, pos);
    QTest::mouseRelease(top->windowHandle(), Qt::LeftButton, {}, pos);
}

// Opens the list and clicks entry index, as a user chooses an entry (even the
// one already selected).
inline void Choose(QComboBox* combo, int index)
{
    ASSERT_NE(combo, nullptr);
    ASSERT_TRUE(combo->isVisible());
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    const QModelIndex item = combo->model()->index(index, 0);
    view->scrollTo(item);
    const QRect cell = view->visualRect(item).intersected(view->viewport()->rect());
    ASSERT_FALSE(cell.isEmpty());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::qWait(1);
}

// Element index of a label array: Label(w, "lblRelayName", 3) is lblRelayName_3.
inline QLabel* Label(QWidget& window, const QString& array, int index)
{
    return Find<QLabel>(window, Element(array, index));
}

// Presses on the name labels of a grid with the copy gesture, and whether
// each one copies (Shift alone with the right button, on the first row only).
struct PressCase {
    const char* what;
    int row;
    Qt::MouseButton button;
    Qt::KeyboardModifiers mods;
    bool copies;
};

inline const PressCase CopyPressCases[] = {
    {"shift right on row 1", 0, Qt::RightButton, Qt::ShiftModifier, true},
    {"shift right on row 2", 1, Qt::RightButton, Qt::ShiftModifier, false},
    {"shift right on row 8", 7, Qt::RightButton, Qt::ShiftModifier, false},
    {"plain right on row 1", 0, Qt::RightButton, Qt::NoModifier, false},
    {"shift left on row 1", 0, Qt::LeftButton, Qt::ShiftModifier, false},
    {"shift ctrl right on row 1", 0, Qt::RightButton, Qt::ShiftModifier | Qt::ControlModifier, false},
    {"shift alt right on row 1", 0, Qt::RightButton, Qt::ShiftModifier | Qt::AltModifier, false},
};

// The first time "h:nnA" or "h:nnP" in text, in minutes after midnight; -1
// when there is none.
inline int ClockMinutes(const QString& text)
{
    static const QRegularExpression time("(\\d{1,2}):(\\d\\d)([AP])");
    const QRegularExpressionMatch m = time.match(text);
    if (!m.hasMatch()) return -1;
    return (m.captured(1).toInt() % 12 + (m.captured(3) == "P" ? 12 : 0)) * 60 + m.captured(2).toInt();
}

}  // namespace t2::test
