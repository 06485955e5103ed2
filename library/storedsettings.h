#pragma once

#include <QColor>
#include <QString>

namespace kivo {

// The six player settings kept in config.content, joined by "㊣" in this order.
struct StoredSettings
{
    static constexpr int kDefaultLoadTimeoutSeconds = 26;
    // Pure red, the colour the settings window falls back to.
    static constexpr quint32 kDefaultHighlightColour = 255;

    int loadTimeoutSeconds = kDefaultLoadTimeoutSeconds;
    bool localLyricsEnabled = true;
    bool historyEnabled = true;
    bool retryOnTimeout = true;
    bool downloadLyricsEnabled = false;
    // Red in the low byte, then green, then blue.
    quint32 highlightColour = kDefaultHighlightColour;
    // Whether the stored text named a colour; without one the lyric labels keep
    // the colour of the window's design.
    bool highlightColourStored = false;

    // Reads the stored text. Fields 0 and 1 count only when there are at least two
    // fields, field 2 only with three, and so on; a field that is not a sound value
    // keeps its default.
    static StoredSettings parse(const QString &content);
    // The text the settings window stores, e.g. "26㊣1㊣0㊣1㊣1㊣255".
    QString format() const;

    QColor highlightQColor() const { return colourOf(highlightColour); }
    // The stored number of a colour and back: red in the low byte, then green, then blue.
    static quint32 colourValue(const QColor &colour);
    static QColor colourOf(quint32 value);

    friend bool operator==(const StoredSettings &, const StoredSettings &) = default;
};

} // namespace kivo
