#pragma once

#include <QDialog>

class HyperLink;
class LocalText;
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
    QPushButton* okButton() const { return m_ok; }

private:
    HyperLink* m_mailLink = nullptr;
    HyperLink* m_webLink = nullptr;
    QPushButton* m_ok = nullptr;
};
