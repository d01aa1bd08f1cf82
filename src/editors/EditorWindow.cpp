#include "EditorWindow.h"

#include "Controls.h"
#include "Defaults.h"
#include "EditHistory.h"
#include "EditorGrid.h"
#include "ScreenText.h"
#include "Twips.h"

#include <QGroupBox>
#include <QMouseEvent>
#include <QScopedValueRollback>

namespace t2 {

EditorWindow::EditorWindow(ProgramState& state, const WindowInfo& info, QWidget* parent)
    : QWidget(parent), state_(state)
{
    ApplyWindowInfo(this, info);
    UseFormFont(this);
}

EditorWindow::~EditorWindow() = default;

int EditorWindow::IoCount() const { return TotalIOCount(state_.Config); }

void EditorWindow::MarkChanged(const void* typing)
{
    RecordEdit(state_, windowTitle().toStdString(), typing);
}

void EditorWindow::EndTyping(const void* typing) { state_.History.EndTyping(typing); }

void EditorWindow::Edited(const void* typing)
{
    MarkChanged(typing);
    Redraw();
}

int EditorWindow::Px(int twips) const { return Twips(this, twips); }

void EditorWindow::OnActivate() { RefillAll(false); }

void EditorWindow::ConfigurationReplaced() { RefillAll(true); }

void EditorWindow::RefillAll(bool keepSelections)
{
    if (refilling_) return;
    const QScopedValueRollback guard(refilling_, true);
    for (FormControl* c : controls_) c->Refill(keepSelections);
    for (auto& grid : grids_) grid->Refill();
    Refill();
    Redraw();
    if (!sized_) FitToControls();
    if (!tabOrdered_) ArrangeTabOrder();
}

void EditorWindow::ArrangeTabOrder()
{
    tabOrdered_ = true;
    QList<QWidget*> grid;
    for (auto& g : grids_) grid += g->FocusOrder();
    // The grids go after the last of the other controls, which keep their order.
    PutLastInTabOrder(this, grid);
}

void EditorWindow::Redraw()
{
    for (auto& grid : grids_) grid->Show();
    for (FormControl* c : controls_) c->Show();
}

EditorGrid& EditorWindow::AddGrid(const GridGeometry& geometry, QWidget* host)
{
    if (host && host != this) host->installEventFilter(this);
    grids_.push_back(std::make_unique<EditorGrid>(*this, host, geometry));
    return *grids_.back();
}

namespace {

template <typename C, typename Desc>
C& Keep(std::vector<FormControl*>& controls, EditorWindow& window, Desc desc)
{
    auto* c = new C(window, std::move(desc));
    controls.push_back(c);
    return *c;
}

}  // namespace

Selector& EditorWindow::AddSelector(SelectorSpec desc) { return Keep<Selector>(controls_, *this, std::move(desc)); }
ValueList& EditorWindow::AddValueList(ValueListSpec desc) { return Keep<ValueList>(controls_, *this, std::move(desc)); }
OptionGroup& EditorWindow::AddOptions(OptionsSpec desc) { return Keep<OptionGroup>(controls_, *this, std::move(desc)); }
CheckBox& EditorWindow::AddCheck(CheckSpec desc) { return Keep<CheckBox>(controls_, *this, std::move(desc)); }
BitBoxes& EditorWindow::AddBitBoxes(BitBoxesSpec desc) { return Keep<BitBoxes>(controls_, *this, std::move(desc)); }

QGroupBox* EditorWindow::AddFrame(const QString& name, const QString& caption, int left, int top, int width,
                                  int height, QWidget* host)
{
    QGroupBox* frame = PlaceFrame(host ? host : this, name, caption, left, top, width, height);
    frame->installEventFilter(this);
    return frame;
}

QLabel* EditorWindow::AddLabel(const QString& name, const QString& text, int left, int top, int width, int height,
                               QWidget* host)
{
    return PlaceLabel(host ? host : this, name, text, left, top, width, height);
}

QPushButton* EditorWindow::AddButton(const QString& name, const QString& text, int left, int top, int width,
                                     int height, QWidget* host)
{
    return PlaceButton(host ? host : this, name, text, left, top, width, height);
}

NameSpec EditorWindow::ItemNames(const QString& label, NameArray PanelConfig::*names, const QString& toolTip) const
{
    return {.label = label,
            .text = [this, names](int r) { return ToScreen((Config().*names)[static_cast<std::size_t>(r)]); },
            .toolTip = toolTip};
}

QStringList EditorWindow::NameList(NameArray PanelConfig::*names, int count) const
{
    QStringList list;
    for (int i = 0; i < count; ++i) list << ToScreen((Config().*names)[static_cast<std::size_t>(i)]);
    return list;
}

void EditorWindow::HidePickers()
{
    for (auto& grid : grids_) grid->HidePickers();
}

void EditorWindow::BackgroundClick()
{
    HidePickers();
    BackgroundClicked();
}

void EditorWindow::SetClientSize(int widthTwips, int heightTwips)
{
    const QSize size(Px(widthTwips), Px(heightTwips));
    setMinimumSize(size);
    resize(size);
    sized_ = true;
}

void EditorWindow::FitToControls()
{
    // Every control counts, shown or not (frames stacked in one place, rows
    // for more I/O than there is now), plus a margin of 240 twips.
    QRect area;
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!child->isWindow()) area |= child->geometry();
    const QSize size(area.right() + 1 + Px(240), area.bottom() + 1 + Px(240));
    setMinimumSize(size);
    resize(size);
    sized_ = true;
}

void EditorWindow::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    if (!e->spontaneous()) OnActivate();
}

void EditorWindow::mousePressEvent(QMouseEvent* e)
{
    BackgroundClick();
    e->accept();
}

bool EditorWindow::eventFilter(QObject* watched, QEvent* event)
{
    // A press on a frame's background is a press on the window's background.
    if (event->type() == QEvent::MouseButtonPress && watched != this) BackgroundClick();
    return QWidget::eventFilter(watched, event);
}

}  // namespace t2
