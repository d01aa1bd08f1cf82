#include "EditorWindow.h"

#include "Defaults.h"
#include "EditorGrid.h"
#include "ScreenText.h"
#include "Twips.h"

#include <QMouseEvent>

namespace t2 {

EditorWindow::EditorWindow(ProgramState& state, const WindowInfo& info, QWidget* parent)
    : QWidget(parent), state_(state)
{
    ApplyWindowInfo(this, info);
    UseFormFont(this);
}

EditorWindow::~EditorWindow() = default;

int EditorWindow::IoCount() const
{
    return TotalIOCount(state_.Config);
}

void EditorWindow::MarkChanged()
{
    SetDataChanged(state_, true);
}

int EditorWindow::Px(int twips) const
{
    return Twips(this, twips);
}

void EditorWindow::OnActivate()
{
    if (refilling_) return;
    refilling_ = true;
    Refill();
    refilling_ = false;
}

EditorGrid& EditorWindow::AddGrid(const GridGeometry& geometry)
{
    grids_.push_back(std::make_unique<EditorGrid>(*this, geometry));
    return *grids_.back();
}

void EditorWindow::HidePickers()
{
    for (auto& grid : grids_) grid->HidePickers();
}

void EditorWindow::SetClientSize(int widthTwips, int heightTwips)
{
    const QSize size(Px(widthTwips), Px(heightTwips));
    setMinimumSize(size);
    resize(size);
}

void EditorWindow::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    if (!e->spontaneous()) OnActivate();
}

void EditorWindow::mousePressEvent(QMouseEvent* e)
{
    HidePickers();
    BackgroundClicked();
    e->accept();
}

}  // namespace t2
