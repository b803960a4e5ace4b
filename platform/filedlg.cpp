#include "platform/filedlg.h"

#include <QAbstractFileIconProvider>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>
#include <QTimer>
#include <cstring>

#include "platform/filedlg_internal.h"
#include "platform/msgbox.h"
#include "platform/window_internal.h"

namespace {

DWORD last_error = 0;
std::function<void(const FileDialogRequest &)> script_request;
std::function<FileDialogAnswer()> script_next;
std::function<void(QFileDialog &)> toolkit_user;

// Paths are bytes in the file system's own encoding; the dialog works in Unicode. (The
// Latin-1 conversion used for program texts would give other bytes for non-ASCII names.)
QString path_to_qt(const std::string &path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}
std::string path_from_qt(const QString &path) { return QFile::encodeName(path).toStdString(); }

std::string file_name_part(const std::string &path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

FileDialogRequest describe(const OPENFILENAMEA &ofn, bool save)
{
    FileDialogRequest r;
    r.save = save;
    r.owner = ofn.hwndOwner;
    r.title = ofn.lpstrTitle ? ofn.lpstrTitle : (save ? "Save As" : "Open");
    r.filters = filedlg_parse_filters(ofn.lpstrFilter);
    if (!r.filters.empty()) {
        const int index = static_cast<int>(ofn.nFilterIndex);
        r.filterShown = index >= 1 && index <= static_cast<int>(r.filters.size()) ? index : 1;
    }
    r.initialName =
        ofn.lpstrFile ? std::string(ofn.lpstrFile, strnlen(ofn.lpstrFile, ofn.nMaxFile)) : "";
    r.initialFolder = ofn.lpstrInitialDir ? ofn.lpstrInitialDir : "";
    r.defaultExtension = ofn.lpstrDefExt ? ofn.lpstrDefExt : "";
    r.flags = ofn.Flags;
    return r;
}

// The questions and refusals of the dialog once the user has confirmed a name; false keeps
// the dialog open for another choice.
bool accept_choice(const FileDialogRequest &r, const OPENFILENAMEA &ofn, const std::string &path)
{
    const QFileInfo info(path_to_qt(path));
    const std::string name = file_name_part(path);
    std::string text;
    if (path.size() + 1 > ofn.nMaxFile) {
        text = path + "\nThis path is too long: at most " + std::to_string(ofn.nMaxFile - 1) +
               " characters.";
        MessageBoxA(r.owner, text.c_str(), r.title.c_str(), MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    DWORD folderMustExist = OFN_PATHMUSTEXIST;
    if (!r.save) folderMustExist |= OFN_FILEMUSTEXIST | OFN_CREATEPROMPT;
    if ((r.flags & folderMustExist) && !info.absoluteDir().exists()) {
        text = path + "\nThe folder does not exist.\nCheck the path and try again.";
        MessageBoxA(r.owner, text.c_str(), r.title.c_str(), MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    if (!r.save && !info.exists()) {
        if (r.flags & OFN_FILEMUSTEXIST) {
            text = name + "\nFile not found.\nCheck the file name and try again.";
            MessageBoxA(r.owner, text.c_str(), r.title.c_str(), MB_OK | MB_ICONEXCLAMATION);
            return false;
        }
        if (r.flags & OFN_CREATEPROMPT) {
            text = name + "\nThis file does not exist.\nDo you want to create it?";
            return MessageBoxA(r.owner, text.c_str(), r.title.c_str(),
                               UINT{MB_YESNO} | MB_ICONQUESTION) == IDYES;
        }
    }
    if (r.save && info.exists() && (r.flags & OFN_OVERWRITEPROMPT)) {
        text = name + " already exists.\nDo you want to replace it?";
        return MessageBoxA(r.owner, text.c_str(), r.title.c_str(),
                           UINT{MB_YESNO} | MB_ICONEXCLAMATION) == IDYES;
    }
    return true;
}

void store_choice(OPENFILENAMEA &ofn, const std::string &path, int filter)
{
    std::memcpy(ofn.lpstrFile, path.c_str(), path.size() + 1);
    const std::string name = file_name_part(path);
    const std::size_t offset = path.size() - name.size();
    if (ofn.lpstrFileTitle && ofn.nMaxFileTitle > 0) {
        const std::size_t n = std::min<std::size_t>(name.size(), ofn.nMaxFileTitle - 1);
        std::memcpy(ofn.lpstrFileTitle, name.data(), n);
        ofn.lpstrFileTitle[n] = '\0';
    }
    ofn.nFileOffset = static_cast<WORD>(offset);
    const std::size_t dot = name.find_last_of('.');
    if (dot == std::string::npos)
        ofn.nFileExtension = static_cast<WORD>(path.size());
    else if (dot + 1 == name.size())
        ofn.nFileExtension = 0;  // a name ending in a dot
    else
        ofn.nFileExtension = static_cast<WORD>(offset + dot + 1);
    if (filter > 0) ofn.nFilterIndex = static_cast<DWORD>(filter);
}

// The full name the dialog hands back for a confirmed name and type: a name without an ending
// gets the ending of the chosen type.
std::string completed_name(const FileDialogRequest &r, const std::string &path, int filter)
{
    return filedlg_with_default_extension(path, filedlg_type_ending(r, filter).c_str());
}

// A Win32 pattern list as a name filter of the toolkit: "*.*" means every file, and the
// patterns ignore case as they do on the system the program was first written for.
QString qt_patterns(const std::string &patterns)
{
    QStringList out;
    for (const QString &p : QString::fromLatin1(patterns).split(';', Qt::SkipEmptyParts)) {
        const QString pattern = p.trimmed();
        if (pattern == "*.*" || pattern == "*") {
            out << "*";
            continue;
        }
        QString glob;
        for (QChar c : pattern) {
            if (c.isLetter() && c.toLower() != c.toUpper())
                glob += QString("[%1%2]").arg(c.toLower()).arg(c.toUpper());
            else
                glob += c;
        }
        out << glob;
    }
    return out.join(' ');
}

// Icons and type names by name only. The toolkit's own provider looks into files to guess
// their types, which blocks on a file that never ends or never answers.
class NameOnlyIconProvider : public QAbstractFileIconProvider {
public:
    QIcon icon(IconType type) const override { return QAbstractFileIconProvider::icon(type); }
    QIcon icon(const QFileInfo &info) const override
    {
        if (info.isRoot()) return icon(Drive);
        return icon(info.isDir() ? Folder : File);
    }
    QString type(const QFileInfo &info) const override
    {
        if (info.isRoot()) return QStringLiteral("Drive");
        if (info.isDir()) return QStringLiteral("Folder");
        const QString suffix = info.suffix();
        return suffix.isEmpty() ? QStringLiteral("File")
                                : suffix.toUpper() + QStringLiteral(" File");
    }
};

// The toolkit's own dialog, which asks its questions before it closes.
class FileDialog : public QFileDialog {
public:
    FileDialog(QWidget *parent, const FileDialogRequest &request, const OPENFILENAMEA &ofn)
        : QFileDialog(parent, QString::fromLatin1(request.title)), request_(request), ofn_(ofn)
    {
        setOption(QFileDialog::DontUseNativeDialog);
        setOption(QFileDialog::DontConfirmOverwrite);  // asked in done(), after the extension
        setOption(QFileDialog::HideNameFilterDetails);
        setIconProvider(filedlg_icon_provider());
        setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        setFileMode(!request.save && (request.flags & OFN_FILEMUSTEXIST) ? QFileDialog::ExistingFile
                                                                         : QFileDialog::AnyFile);
        // Each entry shows its own text; the patterns after it are hidden.
        for (const FileDialogFilter &f : request.filters)
            filters_ << QString::fromLatin1(f.description) + " (" + qt_patterns(f.patterns) + ")";
        if (!filters_.isEmpty()) {
            setNameFilters(filters_);
            selectNameFilter(filters_[request.filterShown - 1]);
        }
        setDirectory(ofn.lpstrInitialDir && *ofn.lpstrInitialDir ? path_to_qt(ofn.lpstrInitialDir)
                                                                 : QDir::currentPath());
        if (!request.initialName.empty()) selectFile(path_to_qt(request.initialName));
    }

    const std::string &chosen() const { return chosen_; }

    // 1-based position of the type shown in the list. With the patterns hidden the toolkit
    // names the type by its description alone, so both forms are looked for.
    int chosenFilter() const
    {
        const QString shown = selectedNameFilter().trimmed();
        for (qsizetype k = 0; k < filters_.size(); ++k) {
            const std::string &description = request_.filters[k].description;
            if (shown == filters_[k] || shown == QString::fromLatin1(description).trimmed())
                return static_cast<int>(k) + 1;
        }
        return request_.filterShown;
    }

    void done(int result) override
    {
        if (result == QDialog::Accepted) {
            const QStringList files = selectedFiles();
            if (files.isEmpty()) return;
            const std::string typed = path_from_qt(files.first());
            const std::string path = completed_name(request_, typed, chosenFilter());
            if (!accept_choice(request_, ofn_, path)) return;
            chosen_ = path;
        }
        QFileDialog::done(result);
    }

private:
    FileDialogRequest request_;
    const OPENFILENAMEA &ofn_;
    QStringList filters_;
    std::string chosen_;
};

BOOL run_scripted(OPENFILENAMEA &ofn, const FileDialogRequest &request)
{
    for (;;) {
        const FileDialogAnswer answer = script_next ? script_next() : FileDialogAnswer{};
        if (answer.cancel) return FALSE;
        std::string path = answer.path;
        if (!path.empty() && path[0] != '/') {
            const std::string base = ofn.lpstrInitialDir && *ofn.lpstrInitialDir
                                         ? ofn.lpstrInitialDir
                                         : path_from_qt(QDir::currentPath());
            path = path_from_qt(QDir::cleanPath(path_to_qt(base) + "/" + path_to_qt(path)));
        }
        if (path.empty() || QFileInfo(path_to_qt(path)).isDir())
            continue;  // the dialog shows that folder
        const int filter = answer.filter > 0 ? answer.filter : request.filterShown;
        path = completed_name(request, path, filter);
        if (!accept_choice(request, ofn, path)) continue;
        store_choice(ofn, path, filter);
        return TRUE;
    }
}

BOOL run_dialog(OPENFILENAMEA *ofn, bool save)
{
    last_error = 0;
    if (!ofn) {
        last_error = CDERR_INITIALIZATION;
        return FALSE;
    }
    if (ofn->lStructSize != sizeof(OPENFILENAMEA)) {
        last_error = CDERR_STRUCTSIZE;
        return FALSE;
    }
    if (!ofn->lpstrFile || ofn->nMaxFile == 0) {
        last_error = CDERR_INITIALIZATION;
        return FALSE;
    }
    const FileDialogRequest request = describe(*ofn, save);
    if (script_request) script_request(request);
    if (script_next) return run_scripted(*ofn, request);
    if (!qApp) return FALSE;

    FileDialog dialog(window_top_widget(ofn->hwndOwner), request, *ofn);
    if (toolkit_user) {
        // Once the dialog waits for its user; whatever is still open afterwards is cancelled.
        QTimer::singleShot(0, &dialog, [&dialog] {
            toolkit_user(dialog);
            if (dialog.isVisible()) dialog.reject();
        });
    }
    const int result = dialog.exec();
    window_return_focus(ofn->hwndOwner);
    if (result != QDialog::Accepted || dialog.chosen().empty()) return FALSE;
    store_choice(*ofn, dialog.chosen(), dialog.chosenFilter());
    return TRUE;
}

}  // namespace

QAbstractFileIconProvider *filedlg_icon_provider()
{
    static NameOnlyIconProvider provider;
    return &provider;
}

std::vector<FileDialogFilter> filedlg_parse_filters(LPCSTR list)
{
    std::vector<FileDialogFilter> filters;
    while (list && *list) {
        FileDialogFilter f;
        f.description = list;
        list += f.description.size() + 1;
        if (*list) {
            f.patterns = list;
            list += f.patterns.size() + 1;
        }
        filters.push_back(f);
        if (f.patterns.empty()) break;  // a description without patterns ends the list
    }
    return filters;
}

std::string filedlg_type_ending(const FileDialogRequest &request, int filter)
{
    if (request.defaultExtension.empty()) return "";
    if (filter < 1 || filter > static_cast<int>(request.filters.size()))
        return request.defaultExtension;
    // The first pattern of the type, when it names one ending: "*.svg" gives "svg".
    const std::string &patterns = request.filters[static_cast<std::size_t>(filter - 1)].patterns;
    const std::string first = patterns.substr(0, patterns.find(';'));
    if (first.size() < 3 || first.compare(0, 2, "*.") != 0) return request.defaultExtension;
    const std::string ending = first.substr(2);
    if (ending.find_first_of("*?[.") != std::string::npos) return request.defaultExtension;
    return ending;
}

std::string filedlg_with_default_extension(const std::string &path, const char *extension)
{
    if (!extension || !*extension) return path;
    const std::string name = file_name_part(path);
    if (name.empty() || name.find('.') != std::string::npos) return path;
    return path + "." + extension;
}

void filedlg_set_script(std::function<void(const FileDialogRequest &)> onRequest,
                        std::function<FileDialogAnswer()> next)
{
    script_request = std::move(onRequest);
    script_next = std::move(next);
}

void filedlg_set_toolkit_user(std::function<void(QFileDialog &)> user)
{
    toolkit_user = std::move(user);
}

BOOL GetOpenFileNameA(OPENFILENAMEA *ofn) { return run_dialog(ofn, false); }
BOOL GetSaveFileNameA(OPENFILENAMEA *ofn) { return run_dialog(ofn, true); }
DWORD CommDlgExtendedError() { return last_error; }
