#include "widgets/HelpViewer.h"

#include "core/AppInfo.h"
#include "core/Help.h"

#include <QDir>
#include <QFileInfo>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexWidget>
#include <QHelpLink>
#include <QHelpSearchEngine>
#include <QHelpSearchQueryWidget>
#include <QHelpSearchResultWidget>
#include <QSplitter>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {

// Shows pages straight out of the compiled help file.
class HelpBrowser : public QTextBrowser {
public:
    HelpBrowser(QHelpEngine* engine, QWidget* parent) : QTextBrowser(parent), m_engine(engine) {}

    QVariant loadResource(int type, const QUrl& name) override {
        if (name.scheme() == QLatin1String("qthelp")) return m_engine->fileData(name);
        return QTextBrowser::loadResource(type, name);
    }

private:
    QHelpEngine* m_engine;
};

} // namespace

HelpViewer::HelpViewer(const QString& helpFile, QWidget* parent) : QWidget(parent, Qt::Window), m_helpFile(helpFile) {
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowTitle(proc_vGetInternalInfo(QStringLiteral("AppTitle")) + QStringLiteral(" Help"));
    resize(900, 640);

    QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (cache.isEmpty()) cache = QDir::tempPath();
    QDir().mkpath(cache);
    m_engine = new QHelpEngine(cache + QStringLiteral("/Dunmark.qhc"), this);
    m_engine->setReadOnly(false); // the collection file is ours to write
    m_ready = QFileInfo::exists(helpFile) && m_engine->setupData();
    if (m_ready) {
        const QString ns = QHelpEngineCore::namespaceName(helpFile);
        if (m_engine->registeredDocumentations().contains(ns) && m_engine->documentationFileName(ns) != helpFile)
            m_engine->unregisterDocumentation(ns);
        if (!m_engine->registeredDocumentations().contains(ns)) m_engine->registerDocumentation(helpFile);
        m_engine->searchEngine()->reindexDocumentation();
    }

    m_tabs = new QTabWidget;
    m_browser = new HelpBrowser(m_engine, this);
    m_browser->setOpenExternalLinks(true);

    auto* contents = m_engine->contentWidget();
    m_tabs->addTab(contents, tr("Contents"));
    connect(contents, &QHelpContentWidget::linkActivated, this, &HelpViewer::showPage);

    auto* indexPage = new QWidget;
    auto* indexLayout = new QVBoxLayout(indexPage);
    indexLayout->addWidget(m_engine->indexWidget());
    m_tabs->addTab(indexPage, tr("Index"));
    connect(m_engine->indexWidget(), &QHelpIndexWidget::documentActivated, this,
            [this](const QHelpLink& link, const QString&) { showPage(link.url); });

    auto* searchPage = new QWidget;
    auto* searchLayout = new QVBoxLayout(searchPage);
    auto* search = m_engine->searchEngine();
    searchLayout->addWidget(search->queryWidget());
    searchLayout->addWidget(search->resultWidget(), 1);
    m_tabs->addTab(searchPage, tr("Search"));
    connect(search->queryWidget(), &QHelpSearchQueryWidget::search, this,
            [search] { search->search(search->queryWidget()->searchInput()); });
    connect(search->resultWidget(), &QHelpSearchResultWidget::requestShowLink, this, &HelpViewer::showPage);

    auto* splitter = new QSplitter;
    splitter->addWidget(m_tabs);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({260, 640});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
}

void HelpViewer::showPage(const QUrl& url) { m_browser->setSource(url); }

void HelpViewer::open(Platform::HelpCommand command, const QString& topic) {
    if (!m_ready) {
        m_browser->setHtml(tr("<p>The help file <b>%1</b> could not be opened.</p>").arg(m_helpFile.toHtmlEscaped()));
    } else {
        switch (command) {
        case Platform::HelpCommand::Contents:
            m_tabs->setCurrentIndex(0);
            if (m_browser->source().isEmpty()) showPage(QUrl(api_sHelpPageAddress(QStringLiteral("index.htm"))));
            break;
        case Platform::HelpCommand::Index: m_tabs->setCurrentIndex(1); break;
        case Platform::HelpCommand::Search: m_tabs->setCurrentIndex(2); break;
        case Platform::HelpCommand::Topic: showPage(QUrl(api_sHelpPageAddress(topic))); break;
        }
    }
    show();
    raise();
    activateWindow();
}
