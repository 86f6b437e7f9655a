#include "richtext/richtextfactory.h"
#include "rtf/rtfreader.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

// Any bytes that are not RTF load as plain text: the control holds them, saves them as RTF, and
// that RTF reads back.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    if (RtfReader::looksLikeRtf(bytes))
        return 0;
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("texte.txt"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(bytes);
    }
    const auto control = createRichTextControl();
    if (!control->loadFile(path))
        __builtin_trap();
    const QByteArray rtf = control->textRtf();
    if (!RtfReader::read(rtf).ok)
        __builtin_trap();
    const auto again = createRichTextControl();
    again->setTextRtf(rtf);
    if (again->text() != control->text())
        __builtin_trap();
    return 0;
}
