#pragma once
// A file list box that the window carries hidden: it keeps its place, tab position and
// file pattern, and lists nothing until it is shown, so it costs nothing at start-up.

#include <QWidget>

namespace ctl {

class FileListBox : public QWidget {
    Q_OBJECT
public:
    FileListBox(QWidget* parent, const QString& pattern) : QWidget(parent), pattern_(pattern) {
        setFocusPolicy(Qt::StrongFocus);
        hide();
    }
    const QString& Pattern() const { return pattern_; }

private:
    QString pattern_;
};

}  // namespace ctl
