#include "ui/ui_language.h"

namespace orvika2 {

LanguageId LanguageIdForChoice(std::wstring_view choice, LanguageId userDefault) {
    if (choice == kChoiceTraditionalChinese) return kLangTraditionalChinese;
    if (choice == kChoiceSimplifiedChinese) return kLangSimplifiedChinese;
    if (choice == kChoiceEnglish) return kLangEnglish;
    if (userDefault == kLangTraditionalChinese || userDefault == kLangSimplifiedChinese) return kLangTraditionalChinese;
    return kLangEnglish;
}

LanguageId StringTableLanguage(LanguageId language) {
    return language == kLangTraditionalChinese ? kLangTraditionalChinese : kLangEnglish;
}

}  // namespace orvika2
