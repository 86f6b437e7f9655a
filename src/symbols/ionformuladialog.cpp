#include "ionformuladialog.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <cmath>

namespace {

// Design geometry is in twips, 15 per pixel.
int px(double twips)
{
    return int(std::lround(twips / 15.0));
}

QPalette boxPalette(QPalette palette, QRgb text)
{
    palette.setColor(QPalette::Base, QColor(0xE0, 0xE0, 0xE0));
    palette.setColor(QPalette::Text, QColor::fromRgb(text));
    return palette;
}

} // namespace

IonFormulaDialog::IonFormulaDialog(const IonFormulaRequest &request, QWidget *parent)
    : QDialog(parent), m_request(request)
{
    setObjectName(QStringLiteral("polyion"));
    setWindowTitle(tr("Insertion de la formule d'un ion polyatomique"));
    setAccessibleName(windowTitle());
    QPalette background = palette();
    background.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    setPalette(background);
    setAutoFillBackground(true);

    auto *label = new QLabel(tr("Ecrire la formule et appuyer sur OK ou annuler"), this);
    label->setObjectName(QStringLiteral("Label1"));
    label->setGeometry(px(240), px(120), px(3375), px(255));

    auto *frame = new QGroupBox(tr("Formule"), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setAccessibleName(frame->title());
    m_frame = frame;

    m_base = new QLineEdit(frame);
    m_base->setObjectName(QStringLiteral("baset"));
    m_base->setAccessibleName(tr("Formule"));
    m_base->setAlignment(Qt::AlignRight);
    m_upper = new QLineEdit(frame);
    m_upper->setObjectName(QStringLiteral("Text2"));
    m_upper->setAccessibleName(tr("Charge"));
    m_lower = new QLineEdit(frame);
    m_lower->setObjectName(QStringLiteral("Text3"));
    m_lower->setAccessibleName(tr("Nombre d'atomes"));

    auto *cancel = new QPushButton(tr("Annuler"), this);
    cancel->setObjectName(QStringLiteral("Command2"));
    cancel->setAccessibleName(tr("Annuler"));
    cancel->setGeometry(px(4440), px(120), px(1575), px(375));
    auto *ok = new QPushButton(tr("OK"), this);
    ok->setObjectName(QStringLiteral("Command3"));
    ok->setAccessibleName(tr("OK"));
    ok->setGeometry(px(4440), px(600), px(1575), px(375));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(cancel, ok);
    setTabOrder(ok, m_upper);
    setTabOrder(m_upper, m_lower);
    setTabOrder(m_lower, m_base);

    layOut(request.style.size);
    styleBox(m_base, request.style, request.style.size);
    styleBox(m_upper, request.style, 0.8 * request.style.size);
    styleBox(m_lower, request.style, 0.8 * request.style.size);
    m_base->setText(request.formula.base);
    m_upper->setText(request.formula.upper);
    m_lower->setText(request.formula.lower);
    cancel->setFocus();
}

void IonFormulaDialog::layOut(double s)
{
    const double frameTop = 360;
    const double frameHeight = 15 * (5 * s + 20);
    const double scriptHeight = 15 * (0.8 * s * 1.5);
    const double baseHeight = 15 * (2 * s);
    const double upperTop = 240;
    const double baseTop = upperTop + scriptHeight * 2 / 3;
    const double lowerTop = baseTop + baseHeight / 2;
    m_frame->setGeometry(px(240), px(frameTop), px(3975), px(frameHeight));
    m_base->setGeometry(px(120), px(baseTop), px(1935), px(baseHeight));
    m_upper->setGeometry(px(2040), px(upperTop), px(1815), px(scriptHeight));
    m_lower->setGeometry(px(2040), px(lowerTop), px(1815), px(scriptHeight));
    setFixedSize(px(6195), px(frameTop + frameHeight + 450));
}

void IonFormulaDialog::styleBox(QLineEdit *box, const IonFormulaStyle &style, double points)
{
    box->setFont(IonFormulaPicture::font(style, points));
    box->setPalette(boxPalette(box->palette(), style.colour));
}

IonFormulaRequest IonFormulaDialog::request() const
{
    IonFormulaRequest request = m_request;
    request.formula = {m_base->text(), m_upper->text(), m_lower->text()};
    request.accepted = result() == QDialog::Accepted;
    return request;
}

void IonFormulaDialog::run(IonFormulaRequest &request, QWidget *parent)
{
    IonFormulaDialog dialog(request, parent);
    dialog.exec();
    request = dialog.request();
}
