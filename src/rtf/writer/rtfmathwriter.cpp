#include "rtf/writer/rtfmathwriter.h"

#include "rtf/writer/rtfemitter.h"

namespace {

void writeElement(RtfEmitter &out, const OmmlElement &element)
{
    // A bare value is a flag of its parent ("\msty2"); anything else has its group.
    if (element.value && element.text.isEmpty() && element.children.isEmpty()) {
        const QByteArray word = "m" + element.name.toLatin1();
        out.controlWord(word.constData(), *element.value);
        return;
    }
    const bool ignorable =
        element.name == QLatin1String("oMath") || element.name == QLatin1String("oMathPara");
    const QByteArray word = "m" + element.name.toLatin1();
    out.openGroup();
    if (ignorable)
        out.ignorableMarker();
    if (element.value)
        out.controlWord(word.constData(), *element.value);
    else
        out.controlWord(word.constData());
    // Flags and property groups first: they describe the element, before its text and content.
    const auto isFlag = [](const OmmlElement &child) {
        return child.value && child.text.isEmpty() && child.children.isEmpty();
    };
    const auto isProperties = [&element](const OmmlElement &child) {
        return child.name == element.name + QLatin1String("Pr");
    };
    for (const OmmlElement &child : element.children) {
        if (isFlag(child) || isProperties(child))
            writeElement(out, child);
    }
    if (!element.text.isEmpty())
        out.text(element.text);
    for (const OmmlElement &child : element.children) {
        if (!isFlag(child) && !isProperties(child))
            writeElement(out, child);
    }
    out.closeGroup();
}

} // namespace

void RtfMathWriter::writeZone(RtfEmitter &out, const OmmlElement &zone, bool display)
{
    QList<OmmlElement> lines;
    for (const OmmlElement &child : zone.children) {
        if (child.name == QLatin1String("oMathPara")) {
            for (const OmmlElement &line : child.children) {
                if (line.name == QLatin1String("oMath"))
                    lines.append(line);
            }
        } else if (child.name == QLatin1String("oMath")) {
            lines.append(child);
        }
    }
    if (lines.isEmpty())
        lines.append(OmmlElement(QStringLiteral("oMath")));
    if (!display) {
        // Inline, a zone is one line: lines of a display read elsewhere go one after another.
        OmmlElement line(QStringLiteral("oMath"));
        for (const OmmlElement &part : lines)
            line.children.append(part.children);
        writeElement(out, line);
        return;
    }
    OmmlElement paragraph(QStringLiteral("oMathPara"));
    paragraph.children = lines;
    writeElement(out, paragraph);
}
