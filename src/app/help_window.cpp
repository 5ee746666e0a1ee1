#include "app/help_window.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "app/app_resources.h"

namespace orbitograph {

HelpWindow::HelpWindow() : QWidget(nullptr, Qt::Window) {
    InitAppResources();
    setWindowTitle(QStringLiteral("Orbitograph — справка"));
    setWindowIcon(ProgramIcon());
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(760, 640);

    m_browser = new QTextBrowser(this);
    m_browser->setOpenExternalLinks(false);
    auto* contents = new QPushButton(QStringLiteral("Содержание"), this);
    auto* back = new QPushButton(QStringLiteral("Назад"), this);
    auto* forward = new QPushButton(QStringLiteral("Вперёд"), this);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(contents, &QPushButton::clicked, this, &HelpWindow::ShowContents);
    connect(back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, m_browser, &QTextBrowser::forward);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);

    auto* bar = new QHBoxLayout;
    bar->addWidget(contents);
    bar->addWidget(back);
    bar->addWidget(forward);
    bar->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(m_browser);
    ShowContents();
}

void HelpWindow::ShowContents() { m_browser->setSource(QUrl(QString::fromLatin1(kHelpContentsUrl))); }

void HelpViewer::ShowContents() {
    if (!m_window) m_window = std::make_unique<HelpWindow>();
    m_window->ShowContents();
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

}  // namespace orbitograph
