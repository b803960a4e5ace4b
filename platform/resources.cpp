// Resource scripts: a small resource-compiler dialect. Each statement names a resource and
// its type; images point at files next to the scripts, menus hold their items inline:
//
//     orvinta    ICON    "icons/orvinta.svg"
//     fftCursor  CURSOR  "cursors/fft.svg" 15 15        // hot spot x y
//     Orvinta MENU
//     BEGIN
//         POPUP "&File"
//         BEGIN
//             MENUITEM "E&xit", 25
//             MENUITEM SEPARATOR
//         END
//         MENUITEM "&About", 90
//     END
//
// All scripts and images live under the resource prefix /resources (resources/ in the tree).
#include "platform/resources.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QSvgRenderer>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>
#include <memory>

#include "platform/gdi_qt.h"
#include "platform/resources_internal.h"

namespace {

const char *const kRoot = ":/resources/";

std::string upper(std::string s)
{
    for (char &c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

struct Token {
    std::string text;
    bool quoted = false;
    int line = 0;
};

std::vector<Token> tokenize(const std::string &text)
{
    std::vector<Token> tokens;
    int line = 1;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\n') {
            ++line;
            ++i;
        } else if (std::isspace(static_cast<unsigned char>(c)) || c == ',') {
            ++i;
        } else if (c == '/' && i + 1 < text.size() && text[i + 1] == '/') {
            while (i < text.size() && text[i] != '\n') ++i;
        } else if (c == '{' || c == '}') {
            tokens.push_back({c == '{' ? "BEGIN" : "END", false, line});
            ++i;
        } else if (c == '"') {
            std::string s;
            ++i;
            while (i < text.size()) {
                if (text[i] == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                    s += '"';
                    i += 2;
                } else if (text[i] == '"') {
                    ++i;
                    break;
                } else {
                    if (text[i] == '\n') ++line;
                    s += text[i++];
                }
            }
            tokens.push_back({s, true, line});
        } else {
            std::string s;
            while (i < text.size() && !std::isspace(static_cast<unsigned char>(text[i])) &&
                   text[i] != ',' && text[i] != '"' && text[i] != '{' && text[i] != '}')
                s += text[i++];
            const std::string u = upper(s);
            tokens.push_back({(u == "BEGIN" || u == "END") ? u : s, false, line});
        }
    }
    return tokens;
}

bool is_block_type(const std::string &type)
{
    return type == "MENU" || type == "MENUEX" || type == "DIALOG" || type == "DIALOGEX" ||
           type == "STRINGTABLE" || type == "ACCELERATORS";
}

// Menu items from tokens[pos], which must be BEGIN; pos ends after the matching END.
bool parse_items(const std::vector<std::string> &tokens, const std::vector<bool> &quoted,
                 std::size_t &pos, std::vector<MenuTemplate::Entry> &out, std::string *error)
{
    auto fail = [error](const std::string &why) {
        if (error) *error = why;
        return false;
    };
    if (pos >= tokens.size() || tokens[pos] != "BEGIN")
        return fail("menu block must start with BEGIN");
    ++pos;
    while (pos < tokens.size() && tokens[pos] != "END") {
        const std::string keyword = upper(tokens[pos]);
        MenuTemplate::Entry entry;
        if (keyword == "MENUITEM") {
            ++pos;
            if (pos < tokens.size() && !quoted[pos] && upper(tokens[pos]) == "SEPARATOR") {
                entry.separator = true;
                ++pos;
            } else {
                if (pos + 1 >= tokens.size() || !quoted[pos])
                    return fail("MENUITEM needs a text and an id");
                entry.text = tokens[pos++];
                char *end = nullptr;
                const long id = std::strtol(tokens[pos].c_str(), &end, 0);
                if (!end || *end || id < 0 || id > 0xFFFF)
                    return fail("bad menu id '" + tokens[pos] + "'");
                entry.id = static_cast<unsigned>(id);
                ++pos;
            }
        } else if (keyword == "POPUP") {
            ++pos;
            if (pos >= tokens.size() || !quoted[pos]) return fail("POPUP needs a text");
            entry.popup = true;
            entry.text = tokens[pos++];
            while (pos < tokens.size() && tokens[pos] != "BEGIN") {
                if (upper(tokens[pos]) == "GRAYED") entry.grayed = true;
                ++pos;
            }
            if (!parse_items(tokens, quoted, pos, entry.children, error)) return false;
        } else {
            return fail("unexpected '" + tokens[pos] + "' in a menu");
        }
        // Item options: GRAYED (also INACTIVE), CHECKED is ignored by menus built from scripts.
        while (pos < tokens.size() && !quoted[pos] &&
               (upper(tokens[pos]) == "GRAYED" || upper(tokens[pos]) == "INACTIVE" ||
                upper(tokens[pos]) == "CHECKED")) {
            if (upper(tokens[pos]) != "CHECKED") entry.grayed = true;
            ++pos;
        }
        out.push_back(std::move(entry));
    }
    if (pos >= tokens.size()) return fail("menu block is not closed");
    ++pos;
    return true;
}

struct Library {
    std::vector<ResourceStatement> statements;
    std::map<std::string, std::unique_ptr<MenuTemplate>> menus;  // key: upper-case name
};

Library &library()
{
    static std::unique_ptr<Library> lib;
    if (!lib) {
        lib = std::make_unique<Library>();
        const QStringList scripts = QDir(kRoot).entryList({"*.rc"}, QDir::Files, QDir::Name);
        for (const QString &script : scripts) {
            QFile file(QString(kRoot) + script);
            if (!file.open(QIODevice::ReadOnly)) continue;
            std::vector<std::string> errors;
            auto statements = resource_parse(file.readAll().toStdString(), &errors);
            for (const auto &e : errors)
                std::fprintf(stderr, "orvinta: resources/%s: %s\n", qPrintable(script), e.c_str());
            for (auto &s : statements) lib->statements.push_back(std::move(s));
        }
    }
    return *lib;
}

QImage render_file(const std::string &relative, int size)
{
    const QString path = QString(kRoot) + QString::fromStdString(relative);
    if (path.endsWith(".svg", Qt::CaseInsensitive)) {
        QSvgRenderer renderer(path);
        if (!renderer.isValid()) return {};
        const QSize pixels = size > 0 ? QSize(size, size) : renderer.defaultSize();
        QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer.render(&painter);
        return image;
    }
    QImage image(path);
    if (size > 0 && !image.isNull())
        image = image.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return image;
}

}  // namespace

std::vector<ResourceStatement> resource_parse(const std::string &text,
                                              std::vector<std::string> *errors)
{
    const std::vector<Token> tokens = tokenize(text);
    std::vector<ResourceStatement> out;
    std::size_t i = 0;
    while (i < tokens.size()) {
        if (i + 1 >= tokens.size() || tokens[i].quoted) {
            if (errors)
                errors->push_back("line " + std::to_string(tokens[i].line) +
                                  ": expected a resource name");
            break;
        }
        ResourceStatement s;
        s.name = tokens[i].text;
        s.type = upper(tokens[i + 1].text);
        const int line = tokens[i + 1].line;
        i += 2;
        if (is_block_type(s.type)) {
            int depth = 0;
            while (i < tokens.size()) {
                const Token &t = tokens[i++];
                s.tokens.push_back(t.text);
                s.quoted.push_back(t.quoted);
                if (!t.quoted && t.text == "BEGIN") ++depth;
                if (!t.quoted && t.text == "END" && --depth == 0) break;
            }
            if (depth != 0 && errors)
                errors->push_back("line " + std::to_string(line) + ": " + s.name +
                                  " is not closed");
        } else {
            while (i < tokens.size() && tokens[i].line == line) {
                s.tokens.push_back(tokens[i].text);
                s.quoted.push_back(tokens[i].quoted);
                ++i;
            }
        }
        out.push_back(std::move(s));
    }
    return out;
}

bool resource_build_menu(const ResourceStatement &statement, MenuTemplate *menu, std::string *error)
{
    std::size_t pos = 0;
    while (pos < statement.tokens.size() && statement.tokens[pos] != "BEGIN") ++pos;
    menu->name = statement.name;
    menu->entries.clear();
    return parse_items(statement.tokens, statement.quoted, pos, menu->entries, error);
}

const ResourceStatement *resource_statement(const char *type, const char *name)
{
    if (!type || !name) return nullptr;
    const std::string t = upper(type), n = upper(name);
    for (const ResourceStatement &s : library().statements)
        if (s.type == t && upper(s.name) == n) return &s;
    return nullptr;
}

const MenuTemplate *resource_menu(const char *name)
{
    const ResourceStatement *s = resource_statement("MENU", name);
    if (!s) return nullptr;
    auto &menus = library().menus;
    auto &slot = menus[upper(s->name)];
    if (!slot) {
        auto menu = std::make_unique<MenuTemplate>();
        std::string error;
        if (!resource_build_menu(*s, menu.get(), &error)) {
            std::fprintf(stderr, "orvinta: menu %s: %s\n", name, error.c_str());
            return nullptr;
        }
        slot = std::move(menu);
    }
    return slot.get();
}

QImage resource_image(const char *type, const char *name, int size)
{
    const ResourceStatement *s = resource_statement(type, name);
    if (!s || s->tokens.empty()) return {};
    return render_file(s->tokens[0], size);
}

QIcon resource_icon(const char *name)
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128}) {
        const QImage image = resource_image("ICON", name, size);
        if (image.isNull()) return {};
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

QImage resource_cursor_image(const char *name, QPoint *hotSpot)
{
    const ResourceStatement *s = resource_statement("CURSOR", name);
    if (!s || s->tokens.empty()) return {};
    if (hotSpot) {
        *hotSpot = QPoint(0, 0);
        if (s->tokens.size() >= 3)
            *hotSpot = QPoint(std::atoi(s->tokens[1].c_str()), std::atoi(s->tokens[2].c_str()));
    }
    return render_file(s->tokens[0], 32);
}

HBITMAP LoadBitmapA(HINSTANCE, LPCSTR name)
{
    if (!name || (reinterpret_cast<std::uintptr_t>(name) >> 16) == 0) return nullptr;
    const QImage image = resource_image("BITMAP", name);
    if (image.isNull()) return nullptr;
    return bitmap_from_qimage(image.convertToFormat(QImage::Format_RGB32));
}
