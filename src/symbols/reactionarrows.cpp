#include "reactionarrows.h"

#include "platform/clipboard.h"
#include "platform/editorstate.h"
#include "richtext/richtextcontrol.h"
#include "symbolhooks.h"

#include <QPainter>

#include <cmath>

QImage ReactionArrowsPicture::draw(int width, int height, int penWidth, QRgb colour)
{
    const int h = std::max(1, height);
    const double w = std::max(1, width);
    QImage image(int(w), h, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(QColor::fromRgb(colour), penWidth, Qt::SolidLine, Qt::FlatCap));
    const double quarter = h / 4.0;
    const double threeQuarters = 3.0 * h / 4.0;
    painter.drawLine(QPointF(0, quarter), QPointF(w, quarter));
    painter.drawLine(QPointF(0, quarter), QPointF(h / 2.0, 0));
    painter.drawLine(QPointF(0, quarter), QPointF(h / 2.0, h / 2.0));
    painter.drawLine(QPointF(0, threeQuarters), QPointF(w, threeQuarters));
    painter.drawLine(QPointF(w - h / 2.0, h), QPointF(w, threeQuarters));
    painter.drawLine(QPointF(w - h / 2.0, h / 2.0), QPointF(w, threeQuarters));
    return image;
}

int selectionSizePoints(const RichTextControl &exo, int fallback)
{
    const Mixed<double> size = exo.selFontSize();
    return size.hasValue() ? int(std::lround(size.value())) : fallback;
}

ReactionArrows::ReactionArrows(EditorState &state, RichTextControl &exo, Clipboard &clipboard,
                               const SymbolHooks &hooks)
    : m_state(state), m_exo(exo), m_clipboard(clipboard), m_hooks(hooks)
{}

void ReactionArrows::insert()
{
    m_state.formatRestorePending = 1;
    if (m_hooks.memoriser)
        m_hooks.memoriser();
    const int h = m_hooks.fontSizeBox ? m_hooks.fontSizeBox() : selectionSizePoints(m_exo, 10);
    const int penWidth = m_exo.selBold() == true ? 2 : 1;
    const Mixed<QRgb> colour = m_exo.selColor();
    if (colour.hasValue())
        m_penColour = colour.value();
    m_clipboard.clear();
    m_clipboard.setImage(ReactionArrowsPicture::draw(h, penWidth, m_penColour));
    if (m_hooks.pasteClipboard)
        m_hooks.pasteClipboard();
}
