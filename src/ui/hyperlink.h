#pragma once

#include <QCursor>
#include <QFont>
#include <QLabel>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

#include <functional>



/// Turns a text label of a dialog into a link: underlined, blue, red while the mouse is
/// over it, with a hand cursor; a click opens the target (a web address or a "mailto:"
/// address) in the user's browser or mail program.
class HyperLink : public QObject {
    Q_OBJECT

public:
    /// The label holds at most 31 characters and the target at most 1023.
    static constexpr int MaxLabelLength = 31;
    static constexpr int MaxTargetLength = 1023;

    /// Hands a target to the desktop. Tests put a recorder here.
    using Opener = std::function<void(const QString& target)>;

    explicit HyperLink(QObject* parent = nullptr);
    ~HyperLink() override;

    /// Takes over the painting, cursor and clicks of control. Refused when control is null,
    /// this link is attached already or the control carries another link.
    bool attach(QLabel* control);
    /// Sets the text shown and the address opened. A label of 32 or more characters or a
    /// target of 1024 or more is refused as a whole (false) and the old texts stay.
    bool setLink(const QString& label, const QString& target, bool repaint = true);
    /// Gives the control back as it was and clears the hover state, label and target.
    /// Returns the control (null when none was attached). Runs by itself when the control
    /// is destroyed.
    QLabel* detach();

    QLabel* control() const { return static_cast<QLabel*>(m_control.data()); }
    bool isHovered() const { return m_hover; }
    QString label() const { return m_label; }
    QString target() const { return m_target; }
    QFont linkFont() const { return m_linkFont; }

    void setOpener(Opener opener);

    /// The text the label shows: its own label, or the control's text (at most 31
    /// characters) when the label is empty.
    QString shownText() const;

    /// The address a target opens: web addresses (a bare "www.example.com" becomes http)
    /// and mail addresses (a bare "name@example.com" becomes mailto:). Anything else - a
    /// local file, a program, another scheme - gives an empty URL: a label must never be a
    /// way to start a program.
    static QUrl linkUrl(const QString& target);
    /// The default opener: the desktop's handler for linkUrl(target), if there is one.
    static void openInDesktop(const QString& target);

    /// Whether a point in control coordinates lies on the control's window rectangle,
    /// its right and bottom edge lines (x == width, y == height) counted as inside.
    static bool withinBorder(const QPoint& local, const QSize& size);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void paint();
    void leaveHover(bool repaint);
    void forgetControl();

    // Held as a widget: the control still sends events (its hiding) while its label part
    // is already destroyed.
    QPointer<QWidget> m_control;
    bool m_hover = false;
    QFont m_linkFont;
    QString m_label;
    QString m_target;
    Opener m_opener;
    bool m_controlHadCursor = false;
    QCursor m_controlCursor;
    bool m_controlTracked = false;
    QMetaObject::Connection m_destroyedConnection;
};
