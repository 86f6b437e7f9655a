#pragma once

#include <QByteArray>

// A deterministic RTF document of at least `targetBytes` that looks like what teachers write:
// French text with accents, chemical formulas with lowered and raised digits, Greek letters in
// the Symbol font, colours, tab stops, bulleted questions and a few small pictures. The same
// size always gives the same bytes, so timings compare between runs.
QByteArray sampleRtf(qsizetype targetBytes);
