#include "SerbianTexts.h"

#include <QCalendarWidget>
#include <QCoreApplication>
#include <QTranslator>

namespace tarvex {

bool installSerbianTexts()
{
    static QTranslator* installed = nullptr;
    if (installed)
        return true;
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QStringLiteral(":/tarvex/i18n/qt_sr.qm"))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    installed = translator;
    return true;
}

QLocale serbianLatin()
{
    return QLocale(QLocale::Serbian, QLocale::LatinScript, QLocale::Serbia);
}

void makeSerbian(QCalendarWidget* calendar)
{
    calendar->setLocale(serbianLatin());
    calendar->setFirstDayOfWeek(Qt::Monday);
}

} // namespace tarvex
