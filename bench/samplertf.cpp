#include "samplertf.h"

#include <QBuffer>
#include <QImage>

#include <array>

namespace {

// A tiny linear congruential generator: std:: distributions differ between library versions,
// and the output must not.
class Sequence
{
public:
    quint32 next(quint32 bound)
    {
        m_state = m_state * 1664525u + 1013904223u;
        return (m_state >> 8) % bound;
    }

private:
    quint32 m_state = 20261208u;
};

QByteArray picture(int variant)
{
    QImage image(24 + variant * 8, 16 + variant * 4, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb((x * 37 + variant * 50) % 256, (y * 53) % 256, ((x ^ y) * 29) % 256));
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    QByteArray group = "{\\pict\\pngblip\\picw" + QByteArray::number(image.width()) + "\\pich" +
                       QByteArray::number(image.height()) + "\\picwgoal" +
                       QByteArray::number(image.width() * 15) + "\\pichgoal" +
                       QByteArray::number(image.height() * 15) + "\r\n";
    const QByteArray hex = png.toHex();
    for (qsizetype i = 0; i < hex.size(); i += 128)
        group += hex.mid(i, 128) + "\r\n";
    return group + '}';
}

const std::array<const char *, 6> kSentences = {
    "On dissout une masse m = %1,%2 g de chlorure de sodium dans 250 mL d'eau distill\\'e9e \\'e0 "
    "25 \\'b0C. Calculer la concentration molaire de la solution obtenue. ",
    "Un solide de masse %1 kg glisse sans frottement sur un plan inclin\\'e9 d'un angle de %2\\'b0 ; "
    "d\\'e9terminer l'acc\\'e9l\\'e9ration du mouvement et la r\\'e9action du support. ",
    "L'\\'e9lectron d'un atome d'hydrog\\'e8ne passe du niveau n = %1 au niveau n = %2 : quelle est la "
    "fr\\'e9quence de la radiation \\'e9mise ? ",
    "La pile fonctionne pendant %1 h sous une intensit\\'e9 de %2 mA ; en d\\'e9duire la quantit\\'e9 "
    "d'\\'e9lectricit\\'e9 d\\'e9bit\\'e9e. ",
    "Pr\\'e9voir le sens d'\\'e9volution spontan\\'e9e du syst\\'e8me \\'e0 partir du quotient de "
    "r\\'e9action initial Q = %1,%2. ",
    "\\'c9crire l'\\'e9quation de la r\\'e9action entre les ions permanganate et les ions fer(II) en "
    "milieu acide (%1 mL, %2 mmol). ",
};

QByteArray sentence(Sequence &random)
{
    QByteArray text = kSentences.at(random.next(kSentences.size()));
    text.replace("%1", QByteArray::number(random.next(90) + 1));
    text.replace("%2", QByteArray::number(random.next(60) + 2));
    return text;
}

QByteArray paragraph(Sequence &random, int index)
{
    const QByteArray plain = "\\f0\\fs20 ";
    switch (index % 8) {
    case 0:
        return "\\pard\\qc" + plain + "\\b\\cf1 Exercice " + QByteArray::number(index / 8 + 1) +
               "\\b0\\cf0\\par\r\n";
    case 1:
        return "\\pard\\qj" + plain + sentence(random) + sentence(random) + "\\par\r\n";
    case 2: // formulas: indices lowered by 50 twips, charges raised (one not on a half-point)
        return "\\pard" + plain +
               "L'ion sulfate SO\\fs16\\dn5 4\\up6\\vgoff64 2\\'96\\fs20\\up0  r\\'e9agit avec "
               "Ba\\fs16\\up6\\vgoff64 2+\\fs20\\up0  ; on obtient BaSO\\fs16\\dn5 4\\fs20\\up0  et "
               "H\\fs16\\dn5 2\\fs20\\up0 O. " +
               sentence(random) + "\\par\r\n";
    case 3: // Greek from the Symbol font
        return "\\pard" + plain + "La longueur d'onde \\f1 l\\f0  vaut " +
               QByteArray::number(400 + random.next(300)) +
               " nm ; \\f1 D\\f0 E = h\\f1 n\\f0  et \\f1 w\\f0  = 2\\f1 p\\f0 f. " + sentence(random) +
               "\\par\r\n";
    case 4: // tab stops: a small table of values
        return "\\pard\\tx1440\\tqr\\tx4320\\tqdec\\tx6480" + plain + "Mesure " + QByteArray::number(index) +
               "\\tab\\i m\\i0\\tab " + QByteArray::number(random.next(1000)) + ",5 g\\tab\\cf2 " +
               QByteArray::number(random.next(100)) + ",25\\cf0\\par\r\n";
    case 5:
    case 6: // bulleted questions
        return "\\pard{\\pntext\\f1\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'B7}}\\fi-"
               "285\\li285" +
               plain + "\\ul Question " + QByteArray::number(index % 8 - 4) +
               "\\ulnone  : " + sentence(random) + "\\par\r\n";
    default:
        return "\\pard\\li570\\ri570" + plain +
               "\\cf3 Donn\\'e9es : \\cf0 M(Na) = 23,0 g\\'b7mol\\f1 -\\f0 "
               "\\up6 1\\up0  ; " +
               sentence(random) + "\\par\r\n";
    }
}

} // namespace

QByteArray sampleRtf(qsizetype targetBytes)
{
    QByteArray rtf;
    rtf.reserve(targetBytes + 64 * 1024);
    rtf += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1036{\\fonttbl{\\f0\\fswiss\\fprq2\\fcharset0 Arial;}"
           "{\\f1\\froman\\fprq2\\fcharset2 Symbol;}}\r\n"
           "{\\colortbl ;\\red192\\green0\\blue0;\\red0\\green0\\blue255;\\red0\\green128\\blue0;}\r\n"
           "{\\*\\generator Veligram;}\\viewkind4\\uc1\r\n";
    const std::array<QByteArray, 3> pictures = {picture(0), picture(1), picture(2)};
    Sequence random;
    qsizetype nextPicture = 100 * 1024;
    for (int index = 0; rtf.size() < targetBytes; ++index) {
        rtf += paragraph(random, index);
        if (rtf.size() >= nextPicture) {
            rtf += "\\pard\\qc\\f0\\fs20 " + pictures.at(random.next(pictures.size())) + "\\par\r\n";
            nextPicture += 100 * 1024;
        }
    }
    rtf += "\\pard\\f0\\fs20 Fin.}";
    return rtf;
}
