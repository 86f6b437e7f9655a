#include "commands.h"
#include "richtext/equationobjects.h"
#include "richtext/richtextfactory.h"
#include "rtf/cp1252.h"
#include "rtf/richdocument.h"
#include "rtf/rtfreader.h"
#include "rtf/symbolencoding.h"

#include <QFile>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextStream>

#include <cstdio>
#include <memory>

namespace {

int fail(const QString &message)
{
    QTextStream(stderr) << "veligram-tool: " << message << '\n';
    return 1;
}

// A text that is not RTF: Windows-1252 (UTF-8 after a byte-order mark, as the control reads
// it), lines ended by CR/LF, LF or a lone CR.
RichDocument documentFromPlainText(const QByteArray &bytes)
{
    const QString text =
        bytes.startsWith("\xEF\xBB\xBF") ? QString::fromUtf8(bytes.mid(3)) : Cp1252::decode(bytes);
    RichDocument document;
    document.paragraphs.clear();
    QString line;
    const auto endParagraph = [&document, &line] {
        Paragraph paragraph;
        if (!line.isEmpty())
            paragraph.runs.append(TextRun{line, CharStyle{}, nullptr});
        document.paragraphs.append(paragraph);
        line.clear();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            endParagraph();
        } else {
            line.append(c);
        }
    }
    // A final line break closes the last line rather than opening an empty one.
    document.endsWithParagraphMark = line.isEmpty() && !document.paragraphs.isEmpty();
    if (!document.endsWithParagraphMark)
        endParagraph();
    return document;
}

struct Loaded
{
    RichDocument document;
    QString error;
};

Loaded loadDocument(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, QStringLiteral("cannot read %1: %2").arg(path, file.errorString())};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {{}, QStringLiteral("cannot read %1: %2").arg(path, file.errorString())};
    if (!RtfReader::looksLikeRtf(bytes))
        return {documentFromPlainText(bytes), {}};
    RtfReadResult result = RtfReader::read(bytes);
    if (!result.ok)
        return {{}, QStringLiteral("cannot read %1: %2").arg(path, result.message)};
    return {std::move(result.document), {}};
}

// What a reader sees: symbol-font bytes as their glyphs, equations as their linear text, other
// objects as U+FFFC, one line per paragraph.
QString displayText(const RichDocument &document)
{
    QString text;
    for (const Paragraph &paragraph : document.paragraphs) {
        for (const TextRun &run : paragraph.runs) {
            if (run.object) {
                const std::optional<QString> linear = run.object->kind == EmbeddedObject::Kind::Equation
                                                          ? EquationObjects::linearOf(*run.object)
                                                          : std::nullopt;
                text.append(linear ? *linear : QString(QChar(0xFFFC)));
                continue;
            }
            const bool symbol = run.style.symbolFont || SymbolEncoding::isSymbolFont(run.style.fontName);
            for (const QChar c : run.text) {
                if (c == QChar(0x2028))
                    text.append(QLatin1Char('\n'));
                else if (symbol && c.unicode() < 0x100 && c != QLatin1Char('\t'))
                    text.append(SymbolEncoding::toUnicode(run.style.fontName, uchar(c.unicode())));
                else
                    text.append(c);
            }
        }
        text.append(QLatin1Char('\n'));
    }
    return text;
}

int printText(const QString &path)
{
    const Loaded loaded = loadDocument(path);
    if (!loaded.error.isEmpty())
        return fail(loaded.error);
    const QByteArray utf8 = displayText(loaded.document).toUtf8();
    if (std::fwrite(utf8.constData(), 1, size_t(utf8.size()), stdout) != size_t(utf8.size()) ||
        std::fflush(stdout) != 0)
        return fail(QStringLiteral("cannot write the text"));
    return 0;
}

// Opens `in` in the control as the editor does; non-zero, after the message, when it cannot.
int loadInto(RichTextControl &control, const QString &in)
{
    QFile probe(in);
    if (!probe.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read %1: %2").arg(in, probe.errorString()));
    probe.close();
    if (!control.loadFile(in))
        return fail(QStringLiteral("cannot read %1: damaged RTF").arg(in));
    return 0;
}

// Through the control, as the editor opens and saves a text: what this writes is what a
// teacher's save would write.
int roundTrip(const QString &in, const QString &out)
{
    const std::unique_ptr<RichTextControl> control = createRichTextControl();
    if (const int status = loadInto(*control, in))
        return status;
    const QByteArray rtf = control->textRtf();
    QSaveFile file(out);
    if (!file.open(QIODevice::WriteOnly))
        return fail(QStringLiteral("cannot write %1: %2").arg(out, file.errorString()));
    if (file.write(rtf) != rtf.size() || !file.commit())
        return fail(QStringLiteral("cannot write %1: %2").arg(out, file.errorString()));
    return 0;
}

// Through the control's print, as "&Imprimer" prints on a PDF printer: the same pages.
int printPdf(const QString &in, const QString &out)
{
    const std::unique_ptr<RichTextControl> control = createRichTextControl();
    if (const int status = loadInto(*control, in))
        return status;
    control->setSelection({0, 0});
    // Written beside the target first, so a failed print leaves an older PDF as it was.
    QSaveFile file(out);
    if (!file.open(QIODevice::WriteOnly))
        return fail(QStringLiteral("cannot write %1: %2").arg(out, file.errorString()));
    bool printed = false;
    {
        QPdfWriter writer(&file);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setCreator(QStringLiteral("veligram-tool"));
        printed = control->printSelection(writer);
    }
    if (!printed || !file.commit())
        return fail(QStringLiteral("cannot write %1: %2").arg(out, file.errorString()));
    return 0;
}

} // namespace

int runRtfCommand(const QStringList &args)
{
    if (args.size() == 2 && args.at(0) == QLatin1String("text"))
        return printText(args.at(1));
    if (args.size() == 3 && args.at(0) == QLatin1String("roundtrip"))
        return roundTrip(args.at(1), args.at(2));
    if (args.size() == 3 && args.at(0) == QLatin1String("pdf"))
        return printPdf(args.at(1), args.at(2));
    return fail(
        QStringLiteral("usage: veligram-tool rtf text FILE | rtf roundtrip IN OUT | rtf pdf IN OUT.pdf"));
}
