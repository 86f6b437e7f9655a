#include "richtextdocument.h"

#include "editorlayout.h"
#include "equationobjects.h"
#include "imagestore.h"
#include "textformats.h"
#include "widecharacters.h"

#include <QUrl>

RichTextDocument::RichTextDocument(QObject *parent) : QTextDocument(parent)
{
    TextFormats::prepareDocument(*this);
}

void RichTextDocument::prepareLayout(Medium medium)
{
    const bool onScreen = medium == Medium::Screen;
    if (m_layoutPrepared && m_onScreen == onScreen)
        return;
    if (onScreen)
        setDocumentLayout(new EditorLayout(this));
    else if (m_onScreen)
        setDocumentLayout(nullptr); // Qt's own again, made on demand
    m_layoutPrepared = true;
    m_onScreen = onScreen;
    WideCharacters::registerHandler(*this);
    EquationObjects::registerHandler(*this);
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
