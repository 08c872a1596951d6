#include "Windowsize.h"

#include "RememberedState.h"

#include <QEvent>
#include <QWidget>

namespace products {

namespace {

const QString kWidth = QStringLiteral("Width");
const QString kHeight = QStringLiteral("Height");

class SizeKeeper : public QObject {
public:
    SizeKeeper(QWidget* window, const QString& section) : QObject(window), m_window(window), m_section(section) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_window && event->type() == QEvent::Hide)
            tarvex::RememberedState(m_section).replaceAll(
                {{kWidth, QString::number(m_window->width())}, {kHeight, QString::number(m_window->height())}});
        return false;
    }

private:
    QWidget* m_window;
    QString m_section;
};

} // namespace

void KeepWindowSize(QWidget* window, const QString& section, const QSize& defaultSize)
{
    const tarvex::RememberedState state(section);
    QSize size(state.number(kWidth, 0), state.number(kHeight, 0));
    if (size.width() <= 0 || size.height() <= 0)
        size = defaultSize;
    window->resize(size.expandedTo(window->minimumSizeHint()));
    window->installEventFilter(new SizeKeeper(window, section));
}

} // namespace products
