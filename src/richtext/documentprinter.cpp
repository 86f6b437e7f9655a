#include "documentprinter.h"

#include <QAbstractTextDocumentLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextDocument>
#include <QTextFrame>

bool DocumentPrinter::print(QTextDocument &document, QPagedPaintDevice &device)
{
    QPainter painter(&device);
    if (!painter.isActive())
        return false;
    QAbstractTextDocumentLayout *layout = document.documentLayout();
    // Laid out on the device itself, the text engine measures fonts at the device's resolution
    // and scales indents, tab stops and margins from screen pixels.
    layout->setPaintDevice(&device);
    const double margin = marginCm / 2.54 * 96;
    document.setDocumentMargin(0); // sets the root frame's margins: before ours
    QTextFrameFormat frame = document.rootFrame()->frameFormat();
    frame.setLeftMargin(margin);
    frame.setRightMargin(margin);
    frame.setTopMargin(margin);
    frame.setBottomMargin(margin);
    frame.setPadding(0);
    frame.setBorder(0);
    document.rootFrame()->setFrameFormat(frame);
    const QSizeF page(device.width(), device.height());
    document.setPageSize(page);

    const int pages = qMax(1, document.pageCount());
    for (int index = 0; index < pages; ++index) {
        if (index > 0 && !device.newPage())
            return false;
        const QRectF view(0, index * page.height(), page.width(), page.height());
        painter.save();
        painter.translate(0, -view.top());
        painter.setClipRect(view);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = view;
        // Black on white paper, whatever the screen's palette says.
        context.palette.setColor(QPalette::Text, Qt::black);
        layout->draw(&painter, context);
        painter.restore();
    }
    return painter.end();
}
