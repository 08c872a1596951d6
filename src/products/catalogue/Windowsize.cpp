#include "Windowsize.h"

#include "IniFile.h"
#include "Productdmunit.h"

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
        if (watched == m_window && event->type() == QEvent::Hide && ProductDM) {
            // Settings are a convenience: a read-only file must not stop the window closing.
            try {
                tarvex::TIniFile ini(ProductDM->localSettingsFile());
                ini.WriteInteger(m_section, kWidth, m_window->width());
                ini.WriteInteger(m_section, kHeight, m_window->height());
            } catch (const std::exception&) {
            }
        }
        return false;
    }

private:
    QWidget* m_window;
    QString m_section;
};

} // namespace

void KeepWindowSize(QWidget* window, const QString& section, const QSize& defaultSize)
{
    QSize size = defaultSize;
    if (ProductDM) {
        const tarvex::TIniFile ini(ProductDM->localSettingsFile());
        const QSize kept(ini.ReadInteger(section, kWidth, 0), ini.ReadInteger(section, kHeight, 0));
        if (kept.width() > 0 && kept.height() > 0)
            size = kept;
    }
    window->resize(size.expandedTo(window->minimumSizeHint()));
    window->installEventFilter(new SizeKeeper(window, section));
}

} // namespace products
