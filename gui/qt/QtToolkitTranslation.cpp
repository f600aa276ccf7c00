#include "gui/qt/QtToolkitTranslation.h"

#include "language/LanguageLibrary.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

void InstallToolkitTranslation(uint16_t languageId)
{
    static QTranslator translator;
    QCoreApplication::removeTranslator(&translator);
    if (languageId != LANGID_ITALIAN)
        return;
    if (translator.load(QStringLiteral("qtbase_it"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&translator);
}
