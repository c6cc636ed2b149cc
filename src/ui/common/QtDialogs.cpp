#include "ui/common/QtDialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace kv {
namespace {

QString TitleOrProgram(const QString& title) {
    return title.isEmpty() ? QString(ProgramTitle) : title;
}

QString InitialPath(const QString& folder, const QString& fileName) {
    return QDir(folder.isEmpty() ? QDir::homePath() : folder).filePath(fileName);
}

}  // namespace

// Qt's box adds the "Show Details..." button itself once it has detailed text.
void QtDialogs::ShowMessage(const QString& text, const QString& title, MessageKind kind,
                            const QString& details) {
    QMessageBox box(kind == MessageKind::Error ? QMessageBox::Critical : QMessageBox::Information,
                    TitleOrProgram(title), text, QMessageBox::Ok, QApplication::activeWindow());
    // Only a trace is worth "Show Details..."; a port that never opened has none.
    if (!details.trimmed().isEmpty()) box.setDetailedText(details);
    box.exec();
}

bool QtDialogs::AskYesNo(const QString& text, const QString& title) {
    return QMessageBox::question(QApplication::activeWindow(), TitleOrProgram(title), text,
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

bool QtDialogs::Confirm(const QString& text, const QString& title, const QString& acceptText) {
    QMessageBox box(QMessageBox::Question, TitleOrProgram(title), text, QMessageBox::NoButton,
                    QApplication::activeWindow());
    QPushButton* accept = box.addButton(acceptText, QMessageBox::AcceptRole);
    box.setDefaultButton(box.addButton(QMessageBox::Cancel));
    box.exec();
    return box.clickedButton() == accept;
}

UnsavedChoice QtDialogs::AskToSaveChanges(const QString& text, const QString& title) {
    switch (QMessageBox::warning(QApplication::activeWindow(), TitleOrProgram(title), text,
                                 QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                                 QMessageBox::Save)) {
        case QMessageBox::Save:
            return UnsavedChoice::Save;
        case QMessageBox::Discard:
            return UnsavedChoice::Discard;
        default:
            return UnsavedChoice::Cancel;
    }
}

QString QtDialogs::OpenFileName(const QString& filter, const QString& folder,
                                const QString& fileName) {
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), QString(),
                                        InitialPath(folder, fileName), filter);
}

QString QtDialogs::SaveFileName(const QString& filter, const QString& folder,
                                const QString& fileName) {
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), QString(),
                                        InitialPath(folder, fileName), filter);
}

}  // namespace kv
