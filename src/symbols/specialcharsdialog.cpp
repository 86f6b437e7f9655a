#include "specialcharsdialog.h"

#include "glyphfont.h"
#include "rtf/cp1252.h"
#include "rtf/symbolencoding.h"
#include "rtf/symbolglyphs.h"

#include <QComboBox>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QRawFont>

#include <algorithm>

namespace {

constexpr int px(int twips)
{
    return twips / 15;
}

// The design's 14.25 points, smaller where a substitute font draws the character wider or
// taller than its cell, so that it shows whole.
QFont fittedTo(QFont font, const QString &text, const QWidget &cell)
{
    const QFontMetricsF metrics(font, &cell);
    const qreal width = metrics.horizontalAdvance(text);
    const qreal scale = std::min(
        {1.0, (cell.width() - 2) / std::max(width, 1.0), cell.height() / std::max(metrics.height(), 1.0)});
    if (scale < 1)
        font.setPointSizeF(font.pointSizeF() * scale * 0.98);
    return font;
}

bool isPrivateUse(QChar c)
{
    return c.unicode() >= 0xE000 && c.unicode() <= 0xF8FF;
}

} // namespace

CharacterCell::CharacterCell(int index, QWidget *parent) : QLabel(parent), m_index(index)
{
    setObjectName(QStringLiteral("Label1(%1)").arg(index));
    setAlignment(Qt::AlignCenter);
    setAutoFillBackground(true);
    setGeometry(px(120 + 360 * (index % 27)), px(240 + 360 * (index / 27)), px(375), px(375));
    setColours(Qt::white, Qt::black);
}

void CharacterCell::showIn(const QString &fontName)
{
    const QChar shown = SpecialCharsDialog::cellCharacter(fontName, uchar(code()));
    setText(shown.isNull() ? QString() : QString(shown));
    // A symbol font's byte is drawn through its Unicode meaning in a font that has it; any
    // other font shows its own Windows-1252 character.
    QFont font = GlyphFont::forCharacter(shown, 14.25);
    if (!SymbolEncoding::isSymbolFont(fontName) && !shown.isNull()) {
        font = QFont(fontName);
        font.setPointSizeF(14.25);
    }
    setFont(fittedTo(font, text(), *this));
    setAccessibleName(shown.isNull() ? QString::number(code())
                                     : QStringLiteral("%1 %2").arg(code()).arg(shown));
}

void CharacterCell::setColours(QColor background, QColor text)
{
    QPalette colours = palette();
    colours.setColor(QPalette::Window, background);
    colours.setColor(QPalette::WindowText, text);
    setPalette(colours);
}

void CharacterCell::mousePressEvent(QMouseEvent *event)
{
    setColours(QColor(0, 0, 128), Qt::white);
    event->accept();
}

void CharacterCell::mouseReleaseEvent(QMouseEvent *event)
{
    setColours(Qt::white, Qt::black);
    if (rect().contains(event->position().toPoint()))
        Q_EMIT clicked(code());
    event->accept();
}

SpecialCharsDialog::SpecialCharsDialog(const QString &gridFont, const QStringList &screenFonts,
                                       std::function<void(const QString &, unsigned char)> insert,
                                       QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("echanti"));
    setWindowTitle(tr("Caractères spéciaux"));
    setAccessibleName(windowTitle());

    m_fonts = new QComboBox(this);
    m_fonts->setObjectName(QStringLiteral("Combo1"));
    m_fonts->setAccessibleName(tr("Police"));
    m_fonts->setEditable(true);
    m_fonts->setInsertPolicy(QComboBox::NoInsert);
    // The design's height, or the box's own where its font needs more; the grid moves down by
    // as much.
    const int comboHeight = std::max(px(315), m_fonts->sizeHint().height());
    m_fonts->setGeometry(px(600), px(120), px(3375), comboHeight);
    const int frameTop = std::max(px(480), px(120) + comboHeight + 3);
    setFixedSize(px(10305), frameTop + px(4005) - px(480));
    QStringList sorted = screenFonts;
    sorted.sort(Qt::CaseInsensitive);
    m_fonts->addItems(sorted);

    auto *close = new QPushButton(tr("Fermer"), this);
    close->setObjectName(QStringLiteral("Command1"));
    close->setAccessibleName(close->text());
    close->setGeometry(px(8160), px(120), px(1695), px(375));
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto *frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setGeometry(px(120), frameTop, px(9975), px(3255));
    for (int i = 0; i < 216; ++i) {
        auto *cell = new CharacterCell(i, frame);
        connect(cell, &CharacterCell::clicked, this, [this, insert](int code) {
            if (insert)
                insert(chosenFont(), uchar(code));
        });
        m_cells.append(cell);
    }
    showGridIn(gridFont);
    m_fonts->setCurrentText(gridFont);
    // Only a name picked from the list changes the grid; a typed one is used for insertion.
    connect(m_fonts, &QComboBox::activated, this,
            [this](int index) { showGridIn(m_fonts->itemText(index)); });
}

QString SpecialCharsDialog::chosenFont() const
{
    return m_fonts->currentText();
}

void SpecialCharsDialog::showGridIn(const QString &fontName)
{
    m_gridFont = fontName;
    for (CharacterCell *cell : std::as_const(m_cells))
        cell->showIn(fontName);
}

QChar SpecialCharsDialog::cellCharacter(const QString &fontName, unsigned char code)
{
    if (SymbolEncoding::isSymbolFont(fontName)) {
        // What the text shows for the byte, a look-alike included; a byte with neither a
        // Unicode meaning nor a look-alike shows nothing rather than a box or a wrong glyph.
        const QChar mapped = SymbolGlyphs::glyph(fontName, code).text.at(0);
        return isPrivateUse(mapped) ? QChar() : mapped;
    }
    const QChar c = Cp1252::toUnicode(code);
    if (!c.isPrint())
        return QChar();
    QFont font(fontName);
    font.setStyleStrategy(QFont::NoFontMerging);
    const QRawFont raw = QRawFont::fromFont(font);
    // A font that does not cover the code (or is not installed and was substituted by one
    // that does not) leaves the cell empty.
    return !raw.isValid() || raw.supportsCharacter(c) ? c : QChar();
}
