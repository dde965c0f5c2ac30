#pragma once
// The language the interface speaks: Chinese, the program's own texts, or
// the English translation that ships inside the program.
//
// TESSAMAR_LANG=zh_TW (any zh...) or =en (any en...) decides alone. Else the
// desktop's locale decides, as gettext reads it: the first of LC_ALL,
// LC_MESSAGES and LANG that is set. With no locale, or the C/POSIX locale,
// the interface is Chinese. Otherwise the first entry of LANGUAGE (a list
// such as "fr:en:zh_TW") that is Chinese or English decides, and failing
// that the locale itself: Chinese for zh..., English for any other language.

class QProcessEnvironment;

enum class InterfaceLanguage { Chinese, English };

InterfaceLanguage ChooseInterfaceLanguage(const QProcessEnvironment& environment);

// The choice for this process's own environment.
InterfaceLanguage InterfaceLanguageFromEnvironment();

// Qt's own texts (the stock dialogs' buttons, file error reasons): in the
// interface's language, or as Qt ships them (English), as the command line's
// messages are.
enum class QtTexts { Translated, AsShipped };

// Installs the translations of `language` on the application: the program's
// English texts for English (Qt's texts are English already); for Chinese,
// the program's own texts and, when `qt` says so, Qt's Traditional Chinese
// translation. Replaces what an earlier call installed. False when a
// translation could not be loaded. The captions' face follows (CaptionFont.h).
bool UseInterfaceLanguage(InterfaceLanguage language, QtTexts qt = QtTexts::Translated);
