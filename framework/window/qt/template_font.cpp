#include "framework/window/qt/template_font.h"

#include <QFont>
#include <QFontMetrics>
#include <QStringList>

#include "framework/window/qt/system_text.h"

namespace {

// Faces that stand in for the template's face where it is missing.
const QStringList& FallbackFaces() {
    static const QStringList faces{QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"),
                                   QStringLiteral("Noto Sans CJK JP")};
    return faces;
}

}  // namespace

QFont TemplateFont(const DialogTemplate& dialogTemplate) {
    QFont font;
    QStringList faces;
    if (dialogTemplate.fontFace != nullptr) {
        faces << ToQt(CString(dialogTemplate.fontFace));
    }
    faces << FallbackFaces();
    font.setFamilies(faces);
    font.setPointSize(dialogTemplate.pointSize > 0 ? dialogTemplate.pointSize : 9);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setStyleStrategy(QFont::PreferDefault);
    return font;
}

DialogBaseUnits BaseUnitsOf(const QFont& font) {
    const QFontMetrics metrics(font);
    const int alphabet = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return DialogBaseUnits{(alphabet / 26 + 1) / 2, metrics.height()};
}
