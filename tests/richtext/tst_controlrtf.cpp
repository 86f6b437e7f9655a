#include "richtext/richtextfactory.h"

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// What the control writes as RTF and reads back: every attribute must survive, because the
// hidden buffers, the clipboard and saved files all go through RTF.
namespace {

using Control = std::unique_ptr<RichTextControl>;

enum class Attribute {
    Bold,
    Italic,
    Underline,
    Strikethrough,
    Color,
    Font,
    Size,
    Offset,
    Protected,
};

void apply(RichTextControl &c, Attribute attribute, const QVariant &value)
{
    switch (attribute) {
    case Attribute::Bold:
        c.setSelBold(value.toBool());
        break;
    case Attribute::Italic:
        c.setSelItalic(value.toBool());
        break;
    case Attribute::Underline:
        c.setSelUnderline(value.toBool());
        break;
    case Attribute::Strikethrough:
        c.setSelStrikethrough(value.toBool());
        break;
    case Attribute::Color:
        c.setSelColor(QRgb(value.toUInt()));
        break;
    case Attribute::Font:
        c.setSelFontName(value.toString());
        break;
    case Attribute::Size:
        c.setSelFontSize(value.toDouble());
        break;
    case Attribute::Offset:
        c.setSelCharOffset(value.toInt());
        break;
    case Attribute::Protected:
        c.setSelProtected(value.toBool());
        break;
    }
}

QVariant read(const RichTextControl &c, Attribute attribute)
{
    auto v = [](const auto &mixed) {
        return mixed.isMixed() ? QVariant() : QVariant::fromValue(mixed.value());
    };
    switch (attribute) {
    case Attribute::Bold:
        return v(c.selBold());
    case Attribute::Italic:
        return v(c.selItalic());
    case Attribute::Underline:
        return v(c.selUnderline());
    case Attribute::Strikethrough:
        return v(c.selStrikethrough());
    case Attribute::Color:
        return c.selColor().isMixed() ? QVariant() : QVariant(uint(c.selColor().value()));
    case Attribute::Font:
        return v(c.selFontName());
    case Attribute::Size:
        return v(c.selFontSize());
    case Attribute::Offset:
        return v(c.selCharOffset());
    case Attribute::Protected:
        return v(c.selProtected());
    }
    return {};
}

Control copyThroughRtf(const RichTextControl &source)
{
    Control copy = createRichTextControl();
    copy->setTextRtf(source.textRtf());
    return copy;
}

} // namespace

Q_DECLARE_METATYPE(Attribute)

class tst_ControlRtf : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void characterAttributes_data()
    {
        QTest::addColumn<Attribute>("attribute");
        QTest::addColumn<QVariant>("value");
        QTest::newRow("bold") << Attribute::Bold << QVariant(true);
        QTest::newRow("italic") << Attribute::Italic << QVariant(true);
        QTest::newRow("underline") << Attribute::Underline << QVariant(true);
        QTest::newRow("strikethrough") << Attribute::Strikethrough << QVariant(true);
        QTest::newRow("colour") << Attribute::Color << QVariant(uint(qRgb(200, 16, 64)));
        QTest::newRow("font") << Attribute::Font << QVariant(QStringLiteral("Times New Roman"));
        QTest::newRow("size 14.5") << Attribute::Size << QVariant(14.5);
        QTest::newRow("size 8") << Attribute::Size << QVariant(8.0);
        QTest::newRow("protected") << Attribute::Protected << QVariant(true);
        for (int twips : {1, -1, 7, -7, 10, -50, 64, -64, 88, 333, 1000, -1000})
            QTest::newRow(qPrintable(QStringLiteral("offset %1").arg(twips)))
                << Attribute::Offset << QVariant(twips);
    }
    void characterAttributes()
    {
        QFETCH(Attribute, attribute);
        QFETCH(QVariant, value);
        Control c = createRichTextControl();
        c->setText("avant milieu apr\xe8s");
        c->setSelection({6, 6});
        apply(*c, attribute, value);
        const QVariant before = read(*c, attribute);
        QVERIFY(before.isValid());

        Control copy = copyThroughRtf(*c);
        QCOMPARE(copy->text(), c->text());
        copy->setSelection({6, 6});
        QCOMPARE(read(*copy, attribute), before);
        copy->setSelection({5, 2}); // one character outside, one inside
        QVERIFY(!read(*copy, attribute).isValid());
        QCOMPARE(copy->textRtf(), c->textRtf());
    }

    void paragraphAttributes()
    {
        Control c = createRichTextControl();
        c->setText("titre\ravec puce\rtabul\xe9\tici\rfin");
        c->setSelStart(0);
        c->setSelAlignment(2);
        c->setSelStart(7);
        c->setSelBullet(true);
        c->setSelIndent(19);
        c->setSelStart(17);
        c->setSelAlignment(1);
        c->setSelIndent(38);
        c->setSelRightIndent(20);
        c->setSelTabCount(2);
        c->setSelTabs(0, 96);
        c->setSelTabs(1, 150);

        Control copy = copyThroughRtf(*c);
        QCOMPARE(copy->text(), c->text());
        copy->setSelStart(0);
        QVERIFY(copy->selAlignment() == 2);
        QVERIFY(copy->selBullet() == false);
        copy->setSelStart(7);
        QVERIFY(copy->selBullet() == true);
        QVERIFY(copy->selIndent() == 19.0);
        copy->setSelStart(17);
        QVERIFY(copy->selAlignment() == 1);
        QVERIFY(copy->selIndent() == 38.0);
        QVERIFY(copy->selRightIndent() == 20.0);
        QVERIFY(copy->selTabCount() == 2);
        QVERIFY(copy->selTabs(0) == 96.0);
        QVERIFY(copy->selTabs(1) == 150.0);
        copy->setSelStart(copy->textLength());
        QVERIFY(copy->selAlignment() == 0);
        QVERIFY(copy->selTabCount() == 0);
        QCOMPARE(copy->textRtf(), c->textRtf());
    }

    void justifiedParagraphsReadAsLeft()
    {
        Control c = createRichTextControl();
        c->setTextRtf(R"({\rtf1\ansi\deff0{\fonttbl{\f0 Arial;}}\pard\qj\f0\fs20 texte justifi\'e9\par})");
        QCOMPARE(c->text(), QByteArray("texte justifi\xe9"));
        QVERIFY(c->selAlignment() == 0);
        QVERIFY(c->textRtf().contains("\\qj")); // written back as it came
    }

    void symbolCharactersKeepTheirBytes()
    {
        Control c = createRichTextControl();
        c->setText("angle a = 30");
        c->setSelection({6, 1});
        c->setSelFontName("Symbol");
        Control copy = copyThroughRtf(*c);
        QCOMPARE(copy->text(), QByteArray("angle a = 30"));
        copy->setSelection({6, 1});
        QVERIFY(copy->selFontName() == QStringLiteral("Symbol"));
        QCOMPARE(copy->selText(), QByteArray("a"));
    }

    // Numbers stay the paragraph's text (and are saved as such, which every reader shows);
    // bullets stay the control's attribute.
    void numberedParagraphsKeepTheirNumbers()
    {
        Control c = createRichTextControl();
        c->setTextRtf(R"({\rtf1\ansi{\fonttbl{\f0 Arial;}{\f1\fcharset2 Symbol;}})"
                      R"({\pntext\f0 1.\tab}{\*\pn\pnlvlbody\pndec{\pntxta.}}\f0 Bold\par)"
                      R"({\pntext\f0 2.\tab}Italic\par)"
                      R"(\pard{\pntext\f1\'b7\tab}{\*\pn\pnlvlblt\pnf1{\pntxtb\'b7}}Dot})");
        QCOMPARE(c->text(), QByteArray("1.\tBold\r2.\tItalic\rDot"));
        c->setSelection({0, 0});
        QVERIFY(c->selBullet() == false);
        c->setSelection({c->textLength(), 0});
        QVERIFY(c->selBullet() == true);
        Control copy = copyThroughRtf(*c);
        QCOMPARE(copy->text(), c->text());
        copy->setSelection({0, 0});
        QVERIFY(copy->selBullet() == false);
        QCOMPARE(copyThroughRtf(*copy)->textRtf(), copy->textRtf());
    }

    // Positions count characters, not UTF-16 units: find, the selection and the text all
    // agree, and the pair goes back out as the same two \u words.
    void charactersBeyond16BitsTakeOnePosition_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("objects");
        QTest::newRow("math italic x") << QByteArray(R"(a\u-10187?\u-9115?b)") << QByteArray("a?b") << 0;
        QTest::newRow("two in a row")
            << QByteArray(R"(\u-10187?\u-9115?\u-10187?\u-9115?b)") << QByteArray("??b") << 0;
        QTest::newRow("bold emoji") << QByteArray(R"(a{\b\u-10179?\u-8704?}b)") << QByteArray("a?b") << 0;
        QTest::newRow("beside a picture")
            << QByteArray(R"(\u-10187?\u-9115?{\pict\pngblip\picw1\pich1 00}b)") << QByteArray("? b") << 1;
    }
    void charactersBeyond16BitsTakeOnePosition()
    {
        QFETCH(QByteArray, body);
        QFETCH(QByteArray, text);
        QFETCH(int, objects);
        Control c = createRichTextControl();
        c->setTextRtf("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 " + body + "}");
        QCOMPARE(c->text(), text);
        QCOMPARE(c->textLength(), int(text.size()));
        QCOMPARE(c->objectCount(), objects);
        QCOMPARE(c->find("b", 0, -1, 0), int(text.size()) - 1);
        const QByteArray rtf = c->textRtf();
        QCOMPARE(rtf.count("\\u-"), body.count("\\u-"));
        Control copy = createRichTextControl();
        copy->setTextRtf(rtf);
        QCOMPARE(copy->text(), text);
        QCOMPARE(copy->textRtf(), rtf);
        // The selection of the character alone carries the whole pair.
        c->setSelection({text.startsWith('a') ? 1 : 0, 1});
        QVERIFY(c->selRtf().contains(R"(\u-)"));
        QCOMPARE(c->selText(), QByteArray("?"));
        // Text typed after it is plain text again.
        c->setSelection({int(text.size()), 0});
        c->setSelText("z");
        QCOMPARE(c->text(), text + "z");
    }

    void emptyParagraphsSurvive_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("trailing empty paragraph") << QByteArray("a\r");
        QTest::newRow("two trailing") << QByteArray("a\r\r");
        QTest::newRow("leading") << QByteArray("\ra");
        QTest::newRow("only a mark") << QByteArray("\r");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("line break") << QByteArray("a\vb");
    }
    void emptyParagraphsSurvive()
    {
        QFETCH(QByteArray, text);
        Control c = createRichTextControl();
        c->setText(text);
        Control copy = copyThroughRtf(*c);
        QCOMPARE(copy->text(), text);
        QCOMPARE(copyThroughRtf(*copy)->text(), text); // no growth on each cycle
    }

    void picturesKeepOnePosition()
    {
        Control c = createRichTextControl();
        c->setText("ab");
        c->setSelStart(1);
        QImage image(12, 8, QImage::Format_RGB32);
        image.fill(qRgb(10, 200, 30));
        c->insertPicture(image);
        Control copy = copyThroughRtf(*c);
        QCOMPARE(copy->text(), QByteArray("a b"));
        QCOMPARE(copy->objectCount(), 1);
        QCOMPARE(copy->objectAt(0).sizePx, QSize(12, 8));
        QCOMPARE(copy->textRtf(), c->textRtf());
    }

    void fragmentsJoinOrBreakParagraphs_data()
    {
        QTest::addColumn<QByteArray>("fragment");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("a tab group") << QByteArray(R"({\tab })") << QByteArray("ab\tcd");
        QTest::newRow("text without mark joins")
            << QByteArray(R"({\rtf1\ansi{\fonttbl{\f0 Arial;}}\f0\fs20 XY})") << QByteArray("abXYcd");
        QTest::newRow("a mark breaks the paragraph")
            << QByteArray(R"({\rtf1\ansi{\fonttbl{\f0 Arial;}}\f0\fs20 X\par Y})") << QByteArray("abX\rYcd");
        QTest::newRow("a trailing mark ends a paragraph")
            << QByteArray(R"({\rtf1\ansi{\fonttbl{\f0 Arial;}}\f0\fs20 X\par})") << QByteArray("abX\rcd");
        QTest::newRow("not RTF: plain text") << QByteArray("plain") << QByteArray("abplaincd");
    }
    void fragmentsJoinOrBreakParagraphs()
    {
        QFETCH(QByteArray, fragment);
        QFETCH(QByteArray, text);
        Control c = createRichTextControl();
        c->setText("abcd");
        c->setSelection({0, 4});
        c->setSelAlignment(2);
        c->setSelStart(2);
        c->setSelRtf(fragment);
        QCOMPARE(c->text(), text);
        // The paragraph the fragment joined keeps its properties.
        c->setSelStart(c->textLength());
        QVERIFY(c->selAlignment() == 2);
    }

    void fragmentWithoutFormattingTakesTheCaretFormat()
    {
        Control c = createRichTextControl();
        c->setText("ab");
        c->setSelection({0, 2});
        c->setSelFontSize(16);
        c->setSelBold(true);
        c->setSelStart(1);
        c->setSelRtf(R"({\tab })");
        c->setSelection({1, 1});
        QCOMPARE(c->selText(), QByteArray("\t"));
        QVERIFY(c->selFontSize() == 16.0);
        QVERIFY(c->selBold() == true);
    }

    // Scripts from other word processors show as those draw them: smaller and shifted, in the
    // control's own size and offset, and saved that way.
    void scriptsFromOtherWordProcessors_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<double>("size");
        QTest::addColumn<int>("offset");
        QTest::newRow("subscript at 12 pt") << QByteArray(R"(H{\sub 2}O)") << 7.0 << -48;
        QTest::newRow("superscript at 12 pt") << QByteArray(R"(x{\super 2})") << 7.0 << 80;
        QTest::newRow("superscript at 10 pt") << QByteArray(R"(\fs20 x{\super 2})") << 6.0 << 67;
        QTest::newRow("size given inside the script") << QByteArray(R"(H{\sub\fs30 2}O)") << 8.5 << -60;
        QTest::newRow("ended by nosupersub") << QByteArray(R"(x{\super\nosupersub 2})") << 12.0 << 0;
        QTest::newRow("ended by plain") << QByteArray(R"(x{\super\plain 2})") << 12.0 << 0;
        QTest::newRow("an offset keeps the size") << QByteArray(R"(x{\up6 2})") << 12.0 << 60;
    }
    void scriptsFromOtherWordProcessors()
    {
        QFETCH(QByteArray, body);
        QFETCH(double, size);
        QFETCH(int, offset);
        Control c = createRichTextControl();
        c->setTextRtf(R"({\rtf1\ansi\deff0{\fonttbl{\f0 Times New Roman;}}\f0 )" + body + "}");
        const int at = c->text().indexOf('2');
        QVERIFY(at > 0);
        const Control saved = copyThroughRtf(*c);
        for (RichTextControl *control : {c.get(), saved.get()}) {
            control->setSelection({at, 1});
            QVERIFY2(control->selFontSize() == size,
                     qPrintable(QString::number(control->selFontSize().value())));
            QVERIFY2(control->selCharOffset() == offset,
                     qPrintable(QString::number(control->selCharOffset().value())));
            control->setSelection({at - 1, 1});
            QVERIFY(control->selCharOffset() == 0);
        }
    }

    // Text before any formatting word: a document opened whole shows it in RTF's defaults, a
    // fragment inserted at the caret (the Tab key, a paste) in the format at the caret.
    void unformattedTextTakesTheDefaultsOfItsPlace_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<bool>("whole");
        QTest::addColumn<QString>("font");
        QTest::addColumn<double>("size");
        const QByteArray deff = R"({\rtf1\ansi\deff1{\fonttbl{\f0 Arial;}{\f1 Times New Roman;}} texte})";
        const QByteArray paragraphOnly =
            R"({\rtf1\ansi\deff0{\fonttbl{\f0 Courier New;}}\pard\qc texte\par})";
        QTest::newRow("document: the \\deff font at 12 pt") << deff << true << "Times New Roman" << 12.0;
        QTest::newRow("document, paragraph words only") << paragraphOnly << true << "Courier New" << 12.0;
        QTest::newRow("document without a font table")
            << QByteArray(R"({\rtf1 texte})") << true << "Arial" << 12.0;
        QTest::newRow("fragment at the caret") << deff << false << "Verdana" << 16.0;
        QTest::newRow("the Tab key's group") << QByteArray(R"({\tab })") << false << "Verdana" << 16.0;
    }
    void unformattedTextTakesTheDefaultsOfItsPlace()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(bool, whole);
        QFETCH(QString, font);
        QFETCH(double, size);
        QTemporaryDir dir;
        Control c = createRichTextControl();
        c->setText("ab");
        c->setSelection({0, 2});
        c->setSelFontName(QStringLiteral("Verdana"));
        c->setSelFontSize(16);
        if (whole) {
            const QString path = dir.filePath(QStringLiteral("texte.rtf"));
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(rtf);
            file.close();
            QVERIFY(c->loadFile(path));
            c->setSelection({0, c->textLength()});
        } else {
            c->setSelStart(1);
            c->setSelRtf(rtf);
            c->setSelection({1, c->textLength() - 2});
        }
        QVERIFY(c->selLength() > 0);
        QVERIFY2(c->selFontName() == font, qPrintable(c->selFontName().value()));
        QVERIFY2(c->selFontSize() == size, qPrintable(QString::number(c->selFontSize().value())));
    }

    void selRtfIsOneUndoStep()
    {
        Control c = createRichTextControl();
        c->setText("abcd");
        c->setSelection({1, 2});
        c->setSelRtf(R"({\rtf1\ansi{\fonttbl{\f0 Arial;}}\f0\fs20 un\par deux\par trois})");
        QCOMPARE(c->text(), QByteArray("aun\rdeux\rtroisd"));
        c->undo();
        QCOMPARE(c->text(), QByteArray("abcd"));
    }

    void selectionRtfCopiesOnlyTheSelection()
    {
        Control c = createRichTextControl();
        c->setText("un deux\rtrois");
        c->setSelection({3, 7});
        c->setSelBold(true);
        Control target = createRichTextControl();
        target->setText("[]");
        target->setSelStart(1);
        target->setSelRtf(c->selRtf());
        QCOMPARE(target->text(), QByteArray("[deux\rtr]"));
        target->setSelection({1, 4});
        QVERIFY(target->selBold() == true);
    }

    void loadAndSaveRtfFiles()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("texte.rtf");
        Control c = createRichTextControl();
        c->setText("sauv\xe9");
        c->setSelection({0, 2});
        c->setSelItalic(true);
        QVERIFY(c->saveFile(path));
        Control other = createRichTextControl();
        QVERIFY(other->loadFile(path));
        QCOMPARE(other->text(), QByteArray("sauv\xe9"));
        other->setSelection({0, 2});
        QVERIFY(other->selItalic() == true);
        QVERIFY(!other->canUndo());
    }

    void damagedRtfLeavesTheText()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("bad.rtf");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("{\\rtf1 {\\b unclosed");
        file.close();
        Control c = createRichTextControl();
        c->setText("avant");
        const bool loaded = c->loadFile(path);
        // Either the reader keeps what it could read, or the text is left as it was.
        QVERIFY(loaded ? c->text() == "unclosed" : c->text() == "avant");
    }
};

QTEST_MAIN(tst_ControlRtf)
#include "tst_controlrtf.moc"
