#include "framework/window/dialog_units.h"

#include <QFont>
#include <QFontMetrics>
#include <QStringList>

#include "framework/window/qt_text.h"

namespace {

// Faces that stand in for the template's face where it is missing.
const QStringList& FallbackFaces() {
    static const QStringList faces{QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"),
                                   QStringLiteral("Noto Sans CJK JP")};
    return faces;
}

// a * b / c rounded to the nearest integer, halves away from zero.
int MulDiv(int a, int b, int c) {
    const long long product = static_cast<long long>(a) * b;
    const long long half = c / 2;
    return static_cast<int>(product >= 0 ? (product + half) / c : (product - half) / c);
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

PixelRect DialogUnitsToPixels(const DialogBaseUnits& units, int x, int y, int cx, int cy) {
    return PixelRect{MulDiv(x, units.cx, 4), MulDiv(y, units.cy, 8), MulDiv(cx, units.cx, 4),
                     MulDiv(cy, units.cy, 8)};
}
