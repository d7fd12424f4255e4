#pragma once
// What Windows' accessibility layer names a dialog's controls by, read from
// the windows themselves: a button's text, the static just before a field
// in template order (which is how an unlabelled field gets its name), an
// image static's window text. Wine's oleacc builds no objects for standard
// controls, so these rules stand in for asking it. They read windows only
// and work across processes too.
#include <windows.h>

#include <string>
#include <vector>

namespace orvika2 {

struct NamingWalk {
    int controls = 0;  // the controls judged
    std::vector<std::wstring> offenders;
};

// Every control in `window`, its pages too: buttons, check boxes and radio
// buttons with a text, fields with a labelling static before them, image
// statics with a name, tab items with a text. An empty group box is a frame
// and passes; an icon static never does, its name being unreliable.
NamingWalk WalkNames(HWND window);
std::vector<std::wstring> UnnamedControls(HWND window);

// The keyboard's side of the same texts, for `window` and each of its pages:
// every button but OK and Cancel (Enter and Esc are theirs) and every label
// of a field has a mnemonic, no two controls of one page share one, and a
// top-level dialog with buttons has exactly one default button.
std::vector<std::wstring> MnemonicFaults(HWND window);

// The mnemonic character of a text, upper-cased; 0 for none ("&&" is a
// plain ampersand).
wchar_t MnemonicOf(const std::wstring& text);

}  // namespace orvika2
