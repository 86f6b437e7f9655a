#include "symbolpalette.h"

#include "glyphfont.h"
#include "palettebackground.h"
#include "reactionarrows.h"
#include "symboltable.h"

#include <QIcon>
#include <QPixmap>
#include <QProxyStyle>
#include <QPushButton>
#include <QTabBar>

#include <algorithm>

namespace {

// Design geometry in twips, shown at 15 twips per pixel.
constexpr int px(int twips)
{
    return twips / 15;
}

bool captionSetAtLoad(const SymbolButton &button)
{
    if (button.fontName != QLatin1String("Arial"))
        return false;
    switch (button.code) {
    case 137:
    case 140:
    case 149:
    case 150:
    case 151:
    case 156:
        return true;
    default:
        return false;
    }
}

// The three tabs must show side by side: past the end of the bar, behind its scroll arrows, a
// tab is one that a teacher never finds. Where the style's padding around the captions would
// push the last one out, the padding shrinks so that the tabs share the palette's width.
class PaletteTabBar : public QTabBar
{
public:
    static constexpr int minimumPadding = 8;

    using QTabBar::QTabBar;

    int textWidth(int index) const
    {
        return fontMetrics().size(Qt::TextShowMnemonic, tabText(index)).width();
    }

    // The palette width at which every caption shows whole with the least padding.
    int neededWidth() const
    {
        int needed = 2;
        for (int i = 0; i < count(); ++i)
            needed += textWidth(i) + minimumPadding;
        return needed;
    }

    int padding(int styled) const
    {
        if (count() == 0)
            return styled;
        int texts = 0;
        for (int i = 0; i < count(); ++i)
            texts += textWidth(i);
        const int room = (parentWidget() ? parentWidget()->width() : width()) - 2;
        return std::clamp((room - texts) / count(), std::min(minimumPadding, styled), styled);
    }
};

// The padding is the style's: it both sizes the tabs and insets the caption inside them.
class PaletteTabStyle : public QProxyStyle
{
public:
    int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override
    {
        const int styled = QProxyStyle::pixelMetric(metric, option, widget);
        const auto *bar = dynamic_cast<const PaletteTabBar *>(widget);
        if (metric != PM_TabBarTabHSpace || !bar)
            return styled;
        return bar->padding(styled);
    }
};

} // namespace

SymbolPalette::SymbolPalette(QWidget *parent) : QTabWidget(parent)
{
    setObjectName(QStringLiteral("SSTab1"));
    setAccessibleName(tr("Symboles"));
    auto *bar = new PaletteTabBar;
    bar->setElideMode(Qt::ElideNone);
    auto *style = new PaletteTabStyle;
    style->setParent(bar);
    bar->setStyle(style);
    setTabBar(bar);
    const QStringList captions = SymbolTable::tabCaptions();
    QList<PaletteBackground *> pages;
    for (int tab = 0; tab < 3; ++tab) {
        auto *page = new PaletteBackground(tab);
        page->setAccessibleName(captions.at(tab));
        pages.append(page);
        addTab(page, captions.at(tab));
    }
    for (const SymbolButton &entry : SymbolTable::buttons()) {
        auto *button = new QPushButton(pages.at(entry.tab));
        button->setObjectName(entry.objectName());
        const QChar glyph = entry.glyph();
        if (!captionSetAtLoad(entry))
            button->setText(QString(entry.shown()));
        // A screen reader says the character the button types; byte 127 has none.
        button->setAccessibleName(glyph.isPrint() ? QString(glyph) : QStringLiteral("%1").arg(entry.code));
        button->setFont(GlyphFont::forCharacter(entry.shown(), button->font().pointSizeF()));
        button->setGeometry(px(240 + 600 * entry.column), px(360 + 600 * entry.row), px(495), px(495));
        button->setFocusPolicy(Qt::NoFocus);
        const SymbolButton *tableEntry = &entry;
        connect(button, &QPushButton::clicked, this, [this, tableEntry] {
            if (m_symbolClicked)
                m_symbolClicked(*tableEntry);
        });
    }
    auto *arrows = new QPushButton(pages.at(2));
    arrows->setObjectName(QStringLiteral("des01"));
    arrows->setAccessibleName(tr("Flèches de réaction réversible"));
    arrows->setToolTip(arrows->accessibleName());
    arrows->setGeometry(px(240), px(2220), px(1695), px(345));
    arrows->setIcon(QIcon(QPixmap::fromImage(
        ReactionArrowsPicture::draw(55, 13, 1, qRgb(0, 0, 0)).convertToFormat(QImage::Format_Mono))));
    arrows->setIconSize(QSize(55, 13));
    arrows->setFocusPolicy(Qt::NoFocus);
    connect(arrows, &QPushButton::clicked, this, [this] {
        if (m_arrowsClicked)
            m_arrowsClicked();
    });
    setCurrentIndex(0);
    // The design's width, or more where this screen's font makes the tab captions wider.
    setFixedSize(std::max(px(2295), bar->neededWidth()), px(6375));
}

void SymbolPalette::onSymbolClicked(std::function<void(const SymbolButton &)> handler)
{
    m_symbolClicked = std::move(handler);
}

void SymbolPalette::onArrowsClicked(std::function<void()> handler)
{
    m_arrowsClicked = std::move(handler);
}

void SymbolPalette::prepareButtons(double points)
{
    for (const SymbolButton &entry : SymbolTable::buttons()) {
        QAbstractButton *shown = button(entry.index);
        if (!shown)
            continue;
        shown->setFont(GlyphFont::forCharacter(entry.shown(), points));
        if (captionSetAtLoad(entry))
            shown->setText(QString(entry.shown()));
    }
}

QAbstractButton *SymbolPalette::button(int index) const
{
    const SymbolButton *entry = SymbolTable::find(index);
    return entry ? findChild<QAbstractButton *>(entry->objectName()) : nullptr;
}
