#include "app/aboutdialog.h"

#include "app/appresources.h"
#include "texts/localtext.h"
#include "ui/hyperlink.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

AboutDialog::AboutDialog(const LocalText& text, QWidget* parent)
    : QDialog(parent)
{
    initAppResources();
    setWindowTitle(text.read(Text::AboutViewMorrow1));

    auto* icon = new QLabel(this);
    icon->setPixmap(QPixmap(QStringLiteral(":/app/quillon@2x.png")));
    icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto* name = new QLabel(QStringLiteral("Quillon"), this);
    QFont nameFont = name->font();
    nameFont.setBold(true);
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.3);
    name->setFont(nameFont);
    auto* version = new QLabel(text.read(Text::AboutVersion), this);
    auto* copyright = new QLabel(text.read(Text::AboutCopyright), this);

    // The links are named by their texts from the language file and show the addresses.
    m_mailLink = new HyperLink(text.read(Text::AboutViewMorrow2), this);
    m_mailLink->setLink(QString::fromLatin1(kMailAddress), QStringLiteral("mailto:") + kMailAddress);
    m_webLink = new HyperLink(text.read(Text::AboutDescription), this);
    m_webLink->setLink(QString::fromLatin1(kWebAddress), QString::fromLatin1(kWebAddress));

    m_ok = new QPushButton(text.read(Text::AboutOk), this);
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(16);
    grid->addWidget(icon, 0, 0, 5, 1);
    grid->addWidget(name, 0, 1);
    grid->addWidget(version, 1, 1);
    grid->addWidget(copyright, 2, 1);
    grid->addWidget(m_mailLink, 3, 1);
    grid->addWidget(m_webLink, 4, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    grid->addLayout(buttons, 5, 0, 1, 2);
    grid->setSizeConstraint(QLayout::SetFixedSize);
}

AboutDialog::~AboutDialog() = default;
