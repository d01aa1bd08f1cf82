#include "frmT2About.h"

#include "Twips.h"

#include "PanelConfig.h"

#include <QFrame>
#include <QVBoxLayout>

namespace t2 {

const WindowInfo frmT2About::Info{"frmT2About", "About VEL Tamberline II"};

frmT2About::frmT2About(ProgramState& state, QWidget* parent) : QWidget(parent), state_(state)
{
    ApplyWindowInfo(this, Info);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(Twips(300), Twips(300), Twips(300), Twips(300));
    layout->setSpacing(Twips(120));

    lblTitle = new QLabel("VEL Tamberline II Pro Configuration Software", this);
    lblTitle->setObjectName("lblTitle");
    QFont big = lblTitle->font();
    if (big.pointSizeF() > 0) big.setPointSizeF(big.pointSizeF() * 1.3);
    big.setBold(true);
    lblTitle->setFont(big);
    lblTitle->setAlignment(Qt::AlignCenter);

    lblVersion = new QLabel("Version 8.09", this);
    lblVersion->setObjectName("lblVersion");
    lblVersion->setAlignment(Qt::AlignCenter);

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    lblContact = new QLabel("For support, contact your VEL distributor.", this);
    lblContact->setObjectName("lblContact");
    lblContact->setAlignment(Qt::AlignCenter);
    lblWeb = new QLabel("Configuration host for the Tamberline II relay panel.", this);
    lblWeb->setObjectName("lblWeb");
    lblWeb->setAlignment(Qt::AlignCenter);

    layout->addStretch();
    layout->addWidget(lblTitle);
    layout->addWidget(lblVersion);
    layout->addWidget(line);
    layout->addWidget(lblContact);
    layout->addWidget(lblWeb);
    layout->addStretch();

    setFixedSize(TwipsSize(7800, 3600));
}

void frmT2About::OnActivate() { state_.VersionText = lblVersion->text().toStdString(); }

}  // namespace t2
