#pragma once

#include <QDialog>

class HyperLink;
class LocalText;
class QLabel;
class QPushButton;

/// The About box: program icon, name, version and copyright lines, and two links to the
/// maker - the support mail address and the web site.
class AboutDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr const char* kMailAddress = "support@quillon.example";
    static constexpr const char* kWebAddress = "https://quillon.example";

    AboutDialog(const LocalText& text, QWidget* parent = nullptr);
    ~AboutDialog() override;

    HyperLink* mailLink() const { return m_mailLink; }
    HyperLink* webLink() const { return m_webLink; }
    QLabel* versionLabel() const { return m_version; }
    QLabel* copyrightLabel() const { return m_copyright; }
    QPushButton* okButton() const { return m_ok; }

private:
    HyperLink* m_mailLink = nullptr;
    HyperLink* m_webLink = nullptr;
    QLabel* m_version = nullptr;
    QLabel* m_copyright = nullptr;
    QPushButton* m_ok = nullptr;
};
