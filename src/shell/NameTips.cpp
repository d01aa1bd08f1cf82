#include "NameTips.h"

#include <QEvent>
#include <QHelpEvent>
#include <QLabel>
#include <QToolTip>

namespace t2 {

namespace {

constexpr const char* FilterName = "t2NameTip";

class NameTipFilter : public QObject {
public:
    explicit NameTipFilter(QLabel* label) : QObject(label) { setObjectName(FilterName); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::ToolTip) return false;
        auto* label = qobject_cast<QLabel*>(watched);
        if (!label || LabelTextFits(label)) return false;  // the label's own tool tip, if any
        // Escaped and with its spaces kept, so that a name reads as it is.
        const QString html = "<p style='white-space:pre'>" +
                             NameToolTip(label).toHtmlEscaped().replace('\n', "<br>") + "</p>";
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), html, label, QRect(),
                           label->toolTipDuration());
        return true;
    }
};

}  // namespace

void ShowWholeNameInToolTip(QLabel* label)
{
    if (!label || label->findChild<NameTipFilter*>(FilterName, Qt::FindDirectChildrenOnly)) return;
    label->installEventFilter(new NameTipFilter(label));
}

bool LabelTextFits(const QLabel* label)
{
    const QString text = label->text();
    if (text.isEmpty()) return true;
    QRect room = label->contentsRect();
    const int margin = label->margin();
    room.adjust(margin, margin, -margin, -margin);
    int indent = label->indent();
    if (indent < 0 && label->frameWidth() > 0) indent = label->fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2;
    if (indent > 0 && (label->alignment() & (Qt::AlignLeft | Qt::AlignRight))) room.setWidth(room.width() - indent);
    const QFontMetrics metrics = label->fontMetrics();
    if (label->wordWrap()) {
        const QRect need = metrics.boundingRect(QRect(0, 0, room.width(), 1 << 20), Qt::TextWordWrap, text);
        return need.width() <= room.width() && need.height() <= room.height();
    }
    return metrics.size(0, text).width() <= room.width();
}

QString NameToolTip(const QLabel* label)
{
    if (LabelTextFits(label)) return label->toolTip();
    return label->toolTip().isEmpty() ? label->text() : label->toolTip() + "\n" + label->text();
}

}  // namespace t2
