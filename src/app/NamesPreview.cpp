#include "NamesPreview.h"

#include "ScreenText.h"
#include "Twips.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFontDatabase>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace t2 {

NamesPreview::NamesPreview(const NamesImport& import, const QString& fileName, QWidget* parent)
    : QDialog(parent),
      lblSummary_(new QLabel(this)),
      tblChanges_(new QTableWidget(static_cast<int>(import.changes.size()), 4, this))
{
    setObjectName("dlgImportNames");
    setWindowTitle("Import Names");
    UseFormFont(this);

    const int marked = static_cast<int>(std::count_if(import.changes.begin(), import.changes.end(),
                                                      [](const NameChange& c) { return c.tooLong || c.filtered; }));
    QString summary = QString("%1 would change %2 %3.")
                          .arg(QDir::toNativeSeparators(fileName))
                          .arg(import.changes.size())
                          .arg(import.changes.size() == 1 ? "name" : "names");
    if (marked > 0)
        summary += QString(" %1 marked: longer than the panel keeps or shows, or with characters the panel "
                           "cannot show changed or left out.")
                       .arg(marked == 1 ? QString("One is") : QString("%1 are").arg(marked));
    summary += "\nAccept changes them all as one step (Edit Undo takes it back).";
    lblSummary_->setObjectName("lblSummary");
    lblSummary_->setWordWrap(true);
    lblSummary_->setText(summary);

    tblChanges_->setObjectName("tblChanges");
    tblChanges_->setAccessibleName("Names that would change");
    tblChanges_->setHorizontalHeaderLabels({"Name", "Old", "New", "Marks"});
    tblChanges_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblChanges_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblChanges_->setTabKeyNavigation(false);   // Tab goes on to the buttons
    tblChanges_->verticalHeader()->hide();
    tblChanges_->horizontalHeader()->setStretchLastSection(true);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSizeF(font().pointSizeF());
    for (int row = 0; row < tblChanges_->rowCount(); ++row) {
        const NameChange& c = import.changes[static_cast<std::size_t>(row)];
        const QString cells[4] = {QString::fromStdString(NameLabel(c.kind, c.number)), ToScreen(c.oldName),
                                  ToScreen(c.newName), QString::fromStdString(ChangeMarks(c))};
        for (int column = 0; column < 4; ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            if (column == 1 || column == 2) item->setFont(fixed);   // names as the panel spells them
            if (column == MarkedColumn && !cells[column].isEmpty()) item->setForeground(QColor(160, 0, 0));
            item->setToolTip(cells[column]);
            tblChanges_->setItem(row, column, item);
        }
    }
    tblChanges_->resizeColumnsToContents();

    auto* buttons = new QDialogButtonBox(this);
    cmdAccept_ = buttons->addButton("&Accept", QDialogButtonBox::AcceptRole);
    cmdAccept_->setObjectName("cmdAccept");
    cmdAccept_->setAccessibleName("Accept the new names");
    cmdAccept_->setDefault(true);
    cmdCancel_ = buttons->addButton(QDialogButtonBox::Cancel);
    cmdCancel_->setObjectName("cmdCancel");
    cmdCancel_->setAccessibleName("Cancel: change no name");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblSummary_);
    layout->addWidget(tblChanges_, 1);
    layout->addWidget(buttons);
    resize(TwipsSize(10800, 6600));
    cmdAccept_->setFocus();
}

}  // namespace t2
