#include "app/InterfaceLanguage.h"

#include "app/QtTranslations.h"
#include "drawing/ComputedShapes.h"
#include "platform/CaptionFont.h"

#include <QCoreApplication>
#include <QPointer>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTranslator>
#include <optional>

namespace {
enum class Tongue { None, Chinese, English, Other };

// "zh_TW.UTF-8", "en", "de_DE@euro", "C.UTF-8" ...
Tongue TongueOf(const QString& locale) {
    const QString name = locale.section(QLatin1Char('.'), 0, 0).section(QLatin1Char('@'), 0, 0);
    if (name.isEmpty() || name == QLatin1String("C") || name == QLatin1String("POSIX"))
        return Tongue::None;
    const QString language = name.section(QLatin1Char('_'), 0, 0).section(QLatin1Char('-'), 0, 0);
    static const QRegularExpression kLanguageCode(QStringLiteral("^[A-Za-z]{2,3}$"));
    if (!kLanguageCode.match(language).hasMatch())
        return Tongue::None;
    if (language.compare(QLatin1String("zh"), Qt::CaseInsensitive) == 0)
        return Tongue::Chinese;
    if (language.compare(QLatin1String("en"), Qt::CaseInsensitive) == 0)
        return Tongue::English;
    return Tongue::Other;
}

std::optional<InterfaceLanguage> Known(Tongue tongue) {
    if (tongue == Tongue::Chinese)
        return InterfaceLanguage::Chinese;
    if (tongue == Tongue::English)
        return InterfaceLanguage::English;
    return std::nullopt;
}

QPointer<QTranslator>& ProgramTranslator() {
    static QPointer<QTranslator> translator;
    return translator;
}

QPointer<QTranslator>& QtTranslator() {
    static QPointer<QTranslator> translator;
    return translator;
}

void Remove(QPointer<QTranslator>& translator) {
    if (!translator)
        return;
    QCoreApplication::removeTranslator(translator);
    delete translator.data();
    translator = nullptr;
}
} // namespace

InterfaceLanguage ChooseInterfaceLanguage(const QProcessEnvironment& environment) {
    if (std::optional<InterfaceLanguage> chosen =
            Known(TongueOf(environment.value(QStringLiteral("TESSAMAR_LANG")))))
        return *chosen;

    QString locale;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        locale = environment.value(QLatin1String(name));
        if (!locale.isEmpty())
            break;
    }
    const Tongue tongue = TongueOf(locale);
    if (tongue == Tongue::None)
        return InterfaceLanguage::Chinese;
    const QStringList preferred =
        environment.value(QStringLiteral("LANGUAGE")).split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString& entry : preferred)
        if (std::optional<InterfaceLanguage> chosen = Known(TongueOf(entry)))
            return *chosen;
    return tongue == Tongue::Chinese ? InterfaceLanguage::Chinese : InterfaceLanguage::English;
}

InterfaceLanguage InterfaceLanguageFromEnvironment() {
    return ChooseInterfaceLanguage(QProcessEnvironment::systemEnvironment());
}

bool UseInterfaceLanguage(InterfaceLanguage language, QtTexts qt) {
    // Area labels give 坪 beside m² in the Chinese interface only.
    SetAreaPingDefault(language == InterfaceLanguage::Chinese);
    Remove(ProgramTranslator());
    Remove(QtTranslator());
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return false;
    // English captions in a sans-serif Latin face; the Chinese keep the Ming face.
    UseLatinCaptions(language == InterfaceLanguage::English);
    if (language == InterfaceLanguage::Chinese) {
        // The program's own texts are Chinese; Qt's are not.
        if (qt == QtTexts::AsShipped)
            return true;
        QtTranslator() = InstallQtTranslations(*app);
        return QtTranslator() != nullptr;
    }
    auto* english = new QTranslator(app);
    if (!english->load(QStringLiteral(":/i18n/tessamar_en.qm"))) {
        delete english;
        return false;
    }
    QCoreApplication::installTranslator(english);
    ProgramTranslator() = english;
    return true;
}
