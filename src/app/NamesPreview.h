// "Import Names": what a names file would change, shown before anything
// changes. Each name that changes is a row (old and new) with its marks: a
// name longer than the panel keeps or shows, characters the name filter
// changed or dropped. Accept applies everything; Cancel changes nothing.
#pragma once

#include "NamesCsv.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTableWidget;

namespace t2 {

class NamesPreview : public QDialog {
    Q_OBJECT
public:
    // fileName: the file as the user chose it, shown in the summary.
    NamesPreview(const NamesImport& import, const QString& fileName, QWidget* parent = nullptr);

    QTableWidget* Changes() const { return tblChanges_; }
    QPushButton* AcceptButton() const { return cmdAccept_; }
    QPushButton* CancelButton() const { return cmdCancel_; }

    static constexpr int MarkedColumn = 3;

private:
    QLabel* lblSummary_;
    QTableWidget* tblChanges_;
    QPushButton* cmdAccept_;
    QPushButton* cmdCancel_;
};

}  // namespace t2
