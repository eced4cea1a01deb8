#include "companies/SelDir.h"

#include "platform/Logging.h"
#include "platform/ScreenSize.h"
#include "widgets/DesignScale.h"

#include <algorithm>
#include <QBoxLayout>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStorageInfo>
#include <QStyle>

namespace tg {
namespace {

constexpr int PathRole = Qt::UserRole;

// The root of the volume a path lies on; the file system's root when the
// path cannot be placed on a volume.
QString volumeRoot(const QString &path)
{
    const QStorageInfo volume(path);
    return volume.isValid() ? QDir::cleanPath(volume.rootPath()) : QDir::rootPath();
}

} // namespace

TDirectoryListBox::TDirectoryListBox(QWidget *parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(false);
    setIndentation(10);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem *item) {
        if (item)
            setDirectory(item->data(0, PathRole).toString());
    });
}

bool TDirectoryListBox::setDirectory(const QString &path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isDir())
        return false;
    m_directory = QDir::cleanPath(info.absoluteFilePath());
    rebuild();
    emit directoryChanged(m_directory);
    return true;
}

void TDirectoryListBox::rebuild()
{
    clear();
    QString root = volumeRoot(m_directory);
    QString relative = QDir(root).relativeFilePath(m_directory);
    if (relative.startsWith(QLatin1String(".."))) {
        // Reached through a link from another volume: show the whole path.
        root = QDir::rootPath();
        relative = QDir(root).relativeFilePath(m_directory);
    }
    auto *item = new QTreeWidgetItem(this, QStringList{QDir::toNativeSeparators(root)});
    item->setData(0, PathRole, root);
    item->setIcon(0, style()->standardIcon(QStyle::SP_DriveHDIcon));
    QString path = root;
    if (relative != QLatin1String(".")) {
        for (const QString &name : relative.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
            path = QDir(path).filePath(name);
            auto *child = new QTreeWidgetItem(item, QStringList{name});
            child->setData(0, PathRole, path);
            child->setIcon(0, style()->standardIcon(QStyle::SP_DirOpenIcon));
            item = child;
        }
    }
    QTreeWidgetItem *current = item;
    const QStringList subfolders =
        QDir(m_directory).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString &name : subfolders) {
        auto *child = new QTreeWidgetItem(current, QStringList{name});
        child->setData(0, PathRole, QDir(m_directory).filePath(name));
        child->setIcon(0, style()->standardIcon(QStyle::SP_DirClosedIcon));
    }
    expandAll();
    setCurrentItem(current);
}

QTreeWidgetItem *TDirectoryListBox::itemForPath(const QString &path) const
{
    const QString wanted = QDir::cleanPath(path);
    for (QTreeWidgetItemIterator it(const_cast<TDirectoryListBox *>(this)); *it; ++it) {
        if ((*it)->data(0, PathRole).toString() == wanted)
            return *it;
    }
    return nullptr;
}

TSelDirForm::TSelDirForm(QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("SelDirForm"));
    setWindowTitle(QStringLiteral("Selezione Percorso"));
    // A fixed dialog border with a title but no title-bar buttons.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    // The program's font, grown with the screen; the layout grows with it.
    const DesignScale scale(*this);

    GroupBox1 = new QGroupBox(this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    Label1 = new QLabel(QStringLiteral("Percorso"), GroupBox1);
    Label1->setObjectName(QStringLiteral("Label1"));
    DirectoryListBox1 = new TDirectoryListBox(GroupBox1);
    DirectoryListBox1->setObjectName(QStringLiteral("DirectoryListBox1"));
    Label4 = new QLabel(QStringLiteral("&Unità disco:"), GroupBox1);
    Label4->setObjectName(QStringLiteral("Label4"));
    DriveComboBox1 = new QComboBox(GroupBox1);
    DriveComboBox1->setObjectName(QStringLiteral("DriveComboBox1"));
    Label4->setBuddy(DriveComboBox1);
    auto *group = new QVBoxLayout(GroupBox1);
    group->setContentsMargins(scale(10), scale(8), scale(10), scale(8));
    group->setSpacing(scale(3));
    group->addWidget(Label1);
    group->addWidget(DirectoryListBox1, 1);
    group->addWidget(Label4);
    group->addWidget(DriveComboBox1);

    ButtonOk = new QPushButton(QStringLiteral("Ok"), this);
    ButtonOk->setObjectName(QStringLiteral("ButtonOk"));
    ButtonCancel = new QPushButton(QStringLiteral("Cancel"), this);
    ButtonCancel->setObjectName(QStringLiteral("ButtonCancel"));
    const int buttonHeight = std::max(scale(25), fontMetrics().height() + 8);
    ButtonOk->setMinimumSize(buttonWidth(*ButtonOk, scale, 75), buttonHeight);
    ButtonCancel->setMinimumSize(buttonWidth(*ButtonCancel, scale, 75), buttonHeight);
    auto *commands = new QHBoxLayout;
    commands->setContentsMargins(scale(16), 0, scale(16), 0);
    commands->addWidget(ButtonOk);
    commands->addStretch();
    commands->addWidget(ButtonCancel);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, scale(6));
    outer->setSpacing(scale(6));
    outer->addWidget(GroupBox1, 1);
    outer->addLayout(commands);
    setTabOrder(ButtonOk, ButtonCancel);
    setTabOrder(ButtonCancel, DirectoryListBox1);
    setTabOrder(DirectoryListBox1, DriveComboBox1);
    setFixedSize(scale.windowSize(QSize(221, 326), ScreenSize::current()));

    fillDrives();
    connect(DirectoryListBox1, &TDirectoryListBox::directoryChanged, this, &TSelDirForm::showDriveOf);
    DirectoryListBox1->setDirectory(QDir::currentPath());
    connect(DriveComboBox1, &QComboBox::currentIndexChanged, this, &TSelDirForm::DriveComboBox1Change);
    connect(ButtonOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TSelDirForm::fillDrives()
{
    // The drives of this workstation are its mounted volumes.
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady())
            continue;
        const QString root = QDir::cleanPath(volume.rootPath());
        if (DriveComboBox1->findData(root) >= 0)
            continue;
        QString caption = QDir::toNativeSeparators(root);
        if (!volume.name().isEmpty())
            caption += QStringLiteral(" [") + volume.name() + QLatin1Char(']');
        DriveComboBox1->addItem(caption, root);
    }
}

void TSelDirForm::showDriveOf(const QString &path)
{
    const QString root = volumeRoot(path);
    int index = DriveComboBox1->findData(root);
    if (index < 0) {
        DriveComboBox1->addItem(QDir::toNativeSeparators(root), root);
        index = DriveComboBox1->count() - 1;
    }
    const QSignalBlocker quiet(DriveComboBox1);
    DriveComboBox1->setCurrentIndex(index);
}

void TSelDirForm::DriveComboBox1Change()
{
    const QString root = DriveComboBox1->currentData().toString();
    // A drive that cannot be read leaves the list where it was.
    if (!DirectoryListBox1->setDirectory(root)) {
        qCWarning(lcCompanies).noquote() << "Drive" << root << "cannot be read as a folder; the list stays at"
                                         << DirectoryListBox1->directory();
        showDriveOf(DirectoryListBox1->directory());
    }
}

void TSelDirForm::showEvent(QShowEvent *event)
{
    if (!m_placed) {
        m_placed = true;
        centreOnScreen(*this);
    }
    QDialog::showEvent(event);
}

} // namespace tg
