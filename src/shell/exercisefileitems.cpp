#include "exercisefileitems.h"

#include <QAction>

namespace {

QString menuCaption(QString path)
{
    return path.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace

void ExerciseFileItems::attach(QAction *sepatext, QAction *textexo, QAction *textcor)
{
    m_sepatext = sepatext;
    m_textexo = textexo;
    m_textcor = textcor;
    show();
}

void ExerciseFileItems::setStatement(const QString &path, bool visible)
{
    m_statementPath = path;
    m_statementVisible = visible;
    show();
}

void ExerciseFileItems::setCorrection(const QString &path, bool visible)
{
    m_correctionPath = path;
    m_correctionVisible = visible;
    show();
}

void ExerciseFileItems::show()
{
    if (m_sepatext)
        m_sepatext->setVisible(m_statementVisible);
    if (m_textexo) {
        m_textexo->setText(menuCaption(m_statementPath));
        m_textexo->setVisible(m_statementVisible);
    }
    if (m_textcor) {
        m_textcor->setText(menuCaption(m_correctionPath));
        m_textcor->setVisible(m_correctionVisible);
    }
}
