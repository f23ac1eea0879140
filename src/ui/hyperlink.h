#pragma once

#include <QLabel>
#include <QString>
#include <QUrl>

#include <functional>

/// A link in a dialog: an underlined blue text, red while the mouse is over it, with a hand
/// cursor; a click (or Enter once it has the keyboard focus) opens the target, a web address
/// or a "mailto:" address, in the user's browser or mail program.
class HyperLink : public QLabel {
    Q_OBJECT

public:
    /// The shown text holds at most 31 characters and the target at most 1023.
    static constexpr int kMaxLabelLength = 31;
    static constexpr int kMaxTargetLength = 1023;

    /// Hands a target to the desktop. Tests put a recorder here.
    using Opener = std::function<void(const QString& target)>;

    /// OWNTEXT names the link (for accessibility) and is what it shows and opens until
    /// setLink() gives it a label and a target.
    explicit HyperLink(const QString& ownText, QWidget* parent = nullptr);

    /// Sets the text shown and the address opened; an empty one falls back to the link's own
    /// text cut to 31 characters. A label of 32 or more characters or a target of 1024 or
    /// more is refused as a whole (false) and the old texts stay.
    bool setLink(const QString& label, const QString& target);

    /// The text the link shows.
    QString shownText() const;
    /// What a click opens.
    QString target() const;
    bool isHovered() const { return m_hovered; }

    void setOpener(Opener opener);

    /// The address a target opens: web addresses (a bare "www.example.com" becomes http)
    /// and mail addresses (a bare "name@example.com" becomes mailto:). Anything else - a
    /// local file, a program, another scheme - gives an empty URL: a label must never be a
    /// way to start a program.
    static QUrl linkUrl(const QString& target);
    /// The default opener: the desktop's handler for linkUrl(target), if there is one.
    static void openInDesktop(const QString& target);

protected:
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void showLink();
    void setHovered(bool hovered);

    QString m_ownText;
    QString m_label;
    QString m_target;
    bool m_hovered = false;
    Opener m_opener;
};
