// The kinds of value cells of the editor grid (EditorGrid.h).
#pragma once

#include "EditorGrid.h"

class QComboBox;
class QScrollBar;

namespace t2 {

class PickerColumn : public CellColumn {
public:
    explicit PickerColumn(PickerSpec desc);
    void Build(EditorGrid& grid, int column) override;
    void Show(EditorGrid& grid, int row, bool shown) override;
    QWidget* Cell(int row) const override;
    int RightTwips() const override { return desc_.offset + desc_.width; }

    void SetChoices(EditorGrid& grid, Choices choices) override;
    QString PickerName() const override { return desc_.picker; }
    void Picked(EditorGrid& grid, int row, int index) override;
    void Open(EditorGrid& grid, int column, int row);

private:
    PickerSpec desc_;
    RowValue value_;
    std::vector<ClickLabel*> labels_;
};

class StateColumn : public CellColumn {
public:
    explicit StateColumn(StateSpec desc) : desc_(std::move(desc)) {}
    void Build(EditorGrid& grid, int column) override;
    void Show(EditorGrid& grid, int row, bool shown) override;
    QWidget* Cell(int row) const override;
    int RightTwips() const override { return desc_.offset + desc_.width; }

private:
    void Click(EditorGrid& grid, int row);
    StateSpec desc_;
    std::vector<ClickLabel*> labels_;
};

class TextColumn : public CellColumn {
public:
    explicit TextColumn(TextSpec desc) : desc_(std::move(desc)) {}
    void Build(EditorGrid& grid, int column) override;
    void Show(EditorGrid& grid, int row, bool shown) override;
    QWidget* Cell(int row) const override;
    int RightTwips() const override { return desc_.offset + desc_.width; }

private:
    TextSpec desc_;
    std::vector<NameBox*> boxes_;
};

class RowListColumn : public CellColumn {
public:
    explicit RowListColumn(RowListSpec desc);
    void Build(EditorGrid& grid, int column) override;
    void Show(EditorGrid& grid, int row, bool shown) override;
    QWidget* Cell(int row) const override;
    int RightTwips() const override { return desc_.offset + desc_.width; }
    void SetChoices(EditorGrid& grid, Choices choices) override;

private:
    RowListSpec desc_;
    RowValue value_;
    std::vector<QComboBox*> lists_;
};

class ScrollColumn : public CellColumn {
public:
    explicit ScrollColumn(ScrollSpec desc);
    void Build(EditorGrid& grid, int column) override;
    void Show(EditorGrid& grid, int row, bool shown) override;
    QWidget* Cell(int row) const override;
    int RightTwips() const override { return std::max(desc_.offset + desc_.width, desc_.labelOffset + desc_.labelWidth); }
    QLabel* Caption(int row) const override;

private:
    ScrollSpec desc_;
    RowValue value_;
    std::vector<QScrollBar*> bars_;
    std::vector<QLabel*> captions_;
};

}  // namespace t2
