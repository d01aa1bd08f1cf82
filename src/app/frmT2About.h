// The About window: program title, version and the maker's contact lines.
// Every activation copies the version text into VersionText for the report.
#pragma once

#include "WindowRegistry.h"

#include <QLabel>
#include <QWidget>

namespace t2 {

class frmT2About : public QWidget, public ChildWindow {
    Q_OBJECT
public:
    static const WindowInfo Info;
    explicit frmT2About(ProgramState& state, QWidget* parent = nullptr);

    void OnActivate() override;

    QLabel* lblTitle;
    QLabel* lblVersion;
    QLabel* lblContact;
    QLabel* lblWeb;

private:
    ProgramState& state_;
};

}  // namespace t2
