#pragma once

#include <QDialog>
#include <QTreeWidget>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace tg {

// A folder list of one drive: the folders from the drive's root down to the
// current directory, and the subfolders of the current directory under it.
// Activating a folder (double click, Enter) makes it the current directory.
class TDirectoryListBox : public QTreeWidget {
    Q_OBJECT

public:
    explicit TDirectoryListBox(QWidget *parent = nullptr);

    // The current directory, an absolute path with '/' separators.
    QString directory() const { return m_directory; }
    // Changes the current directory; a path that names no directory is
    // ignored and false returned.
    bool setDirectory(const QString &path);
    // The item of a folder shown in the list, or nullptr.
    QTreeWidgetItem *itemForPath(const QString &path) const;

signals:
    void directoryChanged(const QString &path);

private:
    void rebuild();
    QString m_directory;
};

// The folder chooser: a folder list of the current drive and a drive chooser
// that switches the list to another drive. After OK the folder list's
// current directory is the chosen folder.
class TSelDirForm : public QDialog {
    Q_OBJECT

public:
    explicit TSelDirForm(QWidget *owner);

    QGroupBox *GroupBox1;
    QLabel *Label1;
    TDirectoryListBox *DirectoryListBox1;
    QLabel *Label4;
    QComboBox *DriveComboBox1;
    QPushButton *ButtonOk;
    QPushButton *ButtonCancel;

    void DriveComboBox1Change();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void fillDrives();
    void showDriveOf(const QString &path);
    bool m_placed = false;
};

} // namespace tg
