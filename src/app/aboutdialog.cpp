#include "app/aboutdialog.h"

#include "app/appresources.h"
#include "platform/localtext.h"
#include "platform/textkeys.h"
#include "ui/hyperlink.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

AboutDialog::AboutDialog(const LocalText& text, QWidget* parent)
    : QDialog(parent)
{
    initAppResources();
    setWindowTitle(text.read("AboutViewMorrow1", TextBuffer::about, "About Quillon"));

    auto* icon = new QLabel(this);
    icon->setPixmap(QPixmap(QStringLiteral(":/app/quillon@2x.png")));
    icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto* name = new QLabel(QStringLiteral("Quillon"), this);
    QFont nameFont = name->font();
    nameFont.setBold(true);
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.3);
    name->setFont(nameFont);
    m_version = new QLabel(text.read("AboutVersion", TextBuffer::about, "Version 1.00.0031.01"), this);
    m_copyright = new QLabel(text.read("AboutCopyright", TextBuffer::about, "Copyright (C) 2008 Quillon"), this);

    // The links are named by their texts from the language file and show the addresses.
    m_mailLink = new HyperLink(text.read("AboutViewMorrow2", TextBuffer::about, MailAddress), this);
    m_mailLink->setLink(QString::fromLatin1(MailAddress), QStringLiteral("mailto:") + MailAddress);
    m_webLink = new HyperLink(text.read("AboutDescription", TextBuffer::about, WebAddress), this);
    m_webLink->setLink(QString::fromLatin1(WebAddress), QString::fromLatin1(WebAddress));

    m_ok = new QPushButton(text.read("Ok", TextBuffer::about, "OK"), this);
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(16);
    grid->addWidget(icon, 0, 0, 5, 1);
    grid->addWidget(name, 0, 1);
    grid->addWidget(m_version, 1, 1);
    grid->addWidget(m_copyright, 2, 1);
    grid->addWidget(m_mailLink, 3, 1);
    grid->addWidget(m_webLink, 4, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    grid->addLayout(buttons, 5, 0, 1, 2);
    grid->setSizeConstraint(QLayout::SetFixedSize);
}

AboutDialog::~AboutDialog() = default;
