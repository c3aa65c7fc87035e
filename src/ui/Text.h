#pragma once

#include <QString>

#include <string>

namespace selvane::ui {

// Model texts are bytes: UTF-8 where valid, else Latin-1 (the pages' code page).
QString fromBytes(const std::string& bytes);
std::string toBytes(const QString& text);

// A label's caption as shown: "&&" is an ampersand, a lone "&" marks an access key and is not
// shown. Buttons and frames take the caption as it is (Qt reads "&" the same way).
QString labelText(const std::string& caption);

// A button's caption with an Alt access key on the first of the letter (Qt underlines it); the
// caption unchanged where it has no such letter or marks its own key.
QString withAccessKey(const QString& caption, QChar letter);

}  // namespace selvane::ui
