#include "ionformuladialog.h"

#include "platform/titlebar.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
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
    m_label = label;

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
    m_cancel = cancel;
    auto *ok = new QPushButton(tr("OK"), this);
    ok->setObjectName(QStringLiteral("Command3"));
    ok->setAccessibleName(tr("OK"));
    m_ok = ok;
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(cancel, ok);
    setTabOrder(ok, m_upper);
    setTabOrder(m_upper, m_lower);
    setTabOrder(m_lower, m_base);

    styleBox(m_base, request.style, request.style.size);
    styleBox(m_upper, request.style, 0.8 * request.style.size);
    styleBox(m_lower, request.style, 0.8 * request.style.size);
    layOut(request.style.size);
    m_base->setText(request.formula.base);
    m_upper->setText(request.formula.upper);
    m_lower->setText(request.formula.lower);
    cancel->setFocus();
}

void IonFormulaDialog::layOut(double s)
{
    // The design's measures at s, in pixels of 15 twips. Where this screen's fonts need more
    // room (a longer label, a box's font taller than its box, a taller caption), that measure
    // grows and what stands after it moves along, so the arrangement stays the design's; a
    // wider label widens the whole design in proportion.
    const int labelWidth = std::max(px(3375), m_label->fontMetrics().horizontalAdvance(m_label->text()) + 2);
    const double k = double(labelWidth) / px(3375);
    auto across = [k](double twips) { return int(std::lround(k * twips / 15.0)); };

    const int labelTop = px(120);
    const int labelHeight = std::max(px(255), m_label->fontMetrics().height());
    // The style draws the frame's caption above its border, not across it as the design did:
    // half a line apart, so that it does not read as one more line of the label.
    const int frameTop = std::max(px(360), labelTop + labelHeight + m_label->fontMetrics().height() / 2);
    const int upperTop = std::max(px(240), m_frame->contentsMargins().top());
    const int scriptHeight = std::max(
        {px(15 * (0.8 * s * 1.5)), m_upper->minimumSizeHint().height(), m_lower->minimumSizeHint().height()});
    const int baseHeight = std::max(px(15 * (2 * s)), m_base->minimumSizeHint().height());
    const int baseTop = upperTop + scriptHeight * 2 / 3;
    const int lowerTop = baseTop + baseHeight / 2;
    // Below the lower box the design leaves 2 s + 4 pixels of the frame: 15 x (5 s + 20) twips.
    const int frameHeight = lowerTop + scriptHeight + int(std::lround(2 * s)) + 4;

    m_label->setGeometry(across(240), labelTop, labelWidth, labelHeight);
    m_frame->setGeometry(across(240), frameTop, across(3975), frameHeight);
    m_base->setGeometry(across(120), baseTop, across(1935), baseHeight);
    m_upper->setGeometry(across(2040), upperTop, across(1815), scriptHeight);
    m_lower->setGeometry(across(2040), lowerTop, across(1815), scriptHeight);

    const int buttonHeight = std::max({px(375), m_cancel->sizeHint().height(), m_ok->sizeHint().height()});
    m_cancel->setGeometry(across(4440), px(120), across(1575), buttonHeight);
    m_ok->setGeometry(across(4440), std::max(px(600), px(120) + buttonHeight + px(105)), across(1575),
                      buttonHeight);

    setFixedSize(std::max(across(6195), TitleBar::widthFor(*this)),
                 std::max(frameTop + frameHeight + px(450), m_ok->geometry().bottom() + 1 + px(120)));
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
