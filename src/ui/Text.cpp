#include "ui/Text.h"

#include <QStringDecoder>

namespace selvane::ui {

QString fromBytes(const std::string& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (!utf8.hasError()) return text;
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string toBytes(const QString& text) { return text.toUtf8().toStdString(); }

QString labelText(const std::string& caption) {
    std::string shown;
    shown.reserve(caption.size());
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&') {
            if (i + 1 < caption.size() && caption[i + 1] == '&') {
                shown += '&';
                ++i;
            }
            continue;
        }
        shown += caption[i];
    }
    return fromBytes(shown);
}

QString withAccessKey(const QString& caption, QChar letter) {
    const qsizetype at = letter.isNull() || caption.contains(QLatin1Char('&')) ? -1 : caption.indexOf(letter);
    if (at < 0) return caption;
    return caption.left(at) + QLatin1Char('&') + caption.mid(at);
}

}  // namespace selvane::ui
