#include "PlainTextLabels.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>

namespace t2 {

namespace {

class PlainTextLabelFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // Every widget is polished before it is first shown.
        if (event->type() == QEvent::Polish) {
            if (auto* label = qobject_cast<QLabel*>(watched)) label->setTextFormat(Qt::PlainText);
        }
        return false;
    }
};

}  // namespace

void UsePlainTextLabels()
{
    static PlainTextLabelFilter* filter = nullptr;
    if (filter || !qApp) return;
    filter = new PlainTextLabelFilter(qApp);
    qApp->installEventFilter(filter);
}

}  // namespace t2
