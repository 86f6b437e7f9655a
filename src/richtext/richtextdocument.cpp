#include "richtextdocument.h"

#include "imagestore.h"
#include "textformats.h"
#include "widecharacters.h"

#include <QUrl>

RichTextDocument::RichTextDocument(QObject *parent) : QTextDocument(parent)
{
    TextFormats::prepareDocument(*this);
}

void RichTextDocument::prepareLayout()
{
    if (m_layoutPrepared)
        return;
    m_layoutPrepared = true;
    WideCharacters::registerHandler(*this);
}

QVariant RichTextDocument::loadResource(int type, const QUrl &name)
{
    const QString key = name.toString();
    if (type == QTextDocument::ImageResource && ImageStore::isKey(key)) {
        const QImage image = ImageStore::instance().image(key);
        if (!image.isNull())
            return image;
    }
    return QTextDocument::loadResource(type, name);
}
