#include "core/library/Library.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <system_error>
#include <utility>

#include "core/library/SetIndex.h"
#include "core/text/Helpers.h"

namespace vx::library {

namespace fs = std::filesystem;

namespace {

constexpr int kSchemaVersion = 3;

// Every name, folded, is kept once in `names`, whether items carry it or call it: the same item
// saved in many sets shares its row. The names are found through a trigram index, which answers
// a search for any part of three or more characters without reading every row; the items and
// the calls point to their names, so a search and where-used are each one look-up.
constexpr const char* kSchema = R"(
CREATE TABLE IF NOT EXISTS folders(path TEXT PRIMARY KEY);
CREATE TABLE IF NOT EXISTS sets(
    id INTEGER PRIMARY KEY,
    path TEXT NOT NULL UNIQUE,
    stamps TEXT NOT NULL,
    set_time INTEGER NOT NULL,
    failure TEXT);
CREATE TABLE IF NOT EXISTS names(id INTEGER PRIMARY KEY, key TEXT NOT NULL UNIQUE);
CREATE TABLE IF NOT EXISTS items(
    id INTEGER PRIMARY KEY,
    set_id INTEGER NOT NULL,
    kind INTEGER NOT NULL,
    slot INTEGER NOT NULL,
    label TEXT NOT NULL,
    name TEXT NOT NULL,
    name_id INTEGER NOT NULL,
    category TEXT NOT NULL,
    hash INTEGER NOT NULL);
CREATE INDEX IF NOT EXISTS items_set ON items(set_id);
CREATE INDEX IF NOT EXISTS items_name ON items(name_id);
CREATE INDEX IF NOT EXISTS items_hash ON items(hash, kind);
CREATE TABLE IF NOT EXISTS calls(
    name_id INTEGER NOT NULL,
    item_id INTEGER NOT NULL,
    PRIMARY KEY(name_id, item_id)) WITHOUT ROWID;
CREATE INDEX IF NOT EXISTS calls_item ON calls(item_id);
CREATE VIRTUAL TABLE IF NOT EXISTS names_key USING fts5(key, content='names', content_rowid='id', tokenize='trigram');
CREATE TRIGGER IF NOT EXISTS names_key_in AFTER INSERT ON names BEGIN
    INSERT INTO names_key(rowid, key) VALUES (new.id, new.key);
END;
)";

// The content hash is kept as the 64-bit number its 16 hex digits spell (half the bytes of the
// text, in the table and in its index), and given back as the digits.
std::int64_t HashNumber(const std::string& hex) {
    std::uint64_t value = 0;
    for (const char c : hex) value = value << 4 | static_cast<std::uint64_t>(c <= '9' ? c - '0' : c - 'a' + 10);
    return static_cast<std::int64_t>(value);
}

std::string HashText(std::int64_t number) {
    static constexpr char kDigits[] = "0123456789abcdef";
    const auto value = static_cast<std::uint64_t>(number);
    std::string text(16, '0');
    for (int i = 0; i < 16; ++i) text[static_cast<std::size_t>(i)] = kDigits[(value >> (60 - 4 * i)) & 0xF];
    return text;
}

// What an index of an older layout held besides the folders; it is read again by the next scan.
constexpr const char* kOldTables = R"(
DROP TRIGGER IF EXISTS items_key_in;
DROP TRIGGER IF EXISTS items_key_out;
DROP TABLE IF EXISTS items_key;
DROP TABLE IF EXISTS calls;
DROP TABLE IF EXISTS items;
DROP TABLE IF EXISTS names;
DROP TABLE IF EXISTS sets;
)";

constexpr const char* kItemColumns =
    "s.path, i.kind, i.label, i.slot, i.name, i.category, i.hash, s.set_time FROM items i JOIN sets s ON s.id = "
    "i.set_id JOIN names n ON n.id = i.name_id";

// A prepared statement, finalised when it goes out of scope.
class Statement {
public:
    Statement(sqlite3* db, const std::string& sql) {
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement_, nullptr) != SQLITE_OK) statement_ = nullptr;
    }
    ~Statement() { sqlite3_finalize(statement_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool Ok() const { return statement_ != nullptr; }
    Statement& Bind(int index, const std::string& text) {
        sqlite3_bind_text(statement_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Statement& Bind(int index, std::int64_t value) {
        sqlite3_bind_int64(statement_, index, value);
        return *this;
    }
    Statement& BindNull(int index) {
        sqlite3_bind_null(statement_, index);
        return *this;
    }
    // True while there is a row; false at the end or on an error.
    bool Step() { return statement_ != nullptr && sqlite3_step(statement_) == SQLITE_ROW; }
    // Runs a statement that returns no rows, ready to run again; false on an error.
    bool Run() {
        if (statement_ == nullptr) return false;
        const int status = sqlite3_step(statement_);
        sqlite3_reset(statement_);
        sqlite3_clear_bindings(statement_);
        return status == SQLITE_DONE || status == SQLITE_ROW;
    }
    void Reset() {
        sqlite3_reset(statement_);
        sqlite3_clear_bindings(statement_);
    }
    std::string Text(int column) const {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
        return text != nullptr ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)))
                               : std::string();
    }
    std::int64_t Int(int column) const { return sqlite3_column_int64(statement_, column); }
    bool Null(int column) const { return sqlite3_column_type(statement_, column) == SQLITE_NULL; }

private:
    sqlite3_stmt* statement_ = nullptr;
};

LibraryItem ItemOfRow(const Statement& row) {
    LibraryItem item;
    item.setPath = row.Text(0);
    item.kind = KindFromIndex(static_cast<int>(row.Int(1)));
    item.label = row.Text(2);
    item.slot = static_cast<int>(row.Int(3));
    item.name = row.Text(4);
    item.category = row.Text(5);
    item.hash = HashText(row.Int(6));
    item.setTime = row.Int(7);
    return item;
}

std::string Normalised(const fs::path& folder) {
    std::error_code error;
    std::string text = fs::absolute(folder, error).lexically_normal().string();
    while (text.size() > 1 && text.back() == '/') text.pop_back();
    return text;
}

bool Under(const std::string& path, const std::string& folder) {
    return path == folder || (path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
                              (path[folder.size()] == '/' || folder == "/"));
}

// The part of a searched text the trigram index can look for, as an FTS5 phrase.
std::string Phrase(const std::string& key) {
    std::string phrase = "\"";
    for (const char c : key) {
        if (c == '"') phrase += '"';
        phrase += c;
    }
    return phrase + "\"";
}

std::size_t Characters(const std::string& utf8) {
    return static_cast<std::size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

class SqliteLibrary final : public Library {
public:
    explicit SqliteLibrary(sqlite3* db) : db_(db) {}
    ~SqliteLibrary() override {
        for (auto* statement : {&deleteCalls_, &deleteItems_, &deleteSet_, &insertName_, &selectName_, &selectSet_,
                                &insertSet_, &insertItem_, &insertCall_})
            statement->reset();
        sqlite3_close_v2(db_);
    }

    bool Exec(const char* sql) { return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }
    std::string LastError() const { return sqlite3_errmsg(db_); }

    std::vector<std::string> Folders() const override {
        std::vector<std::string> folders;
        Statement select(db_, "SELECT path FROM folders ORDER BY path");
        while (select.Step()) folders.push_back(select.Text(0));
        return folders;
    }

    bool AddFolder(const fs::path& folder, std::string& error) override {
        const std::string path = Normalised(folder);
        std::error_code code;
        if (!fs::is_directory(path, code)) {
            error = path + " is not a directory.";
            return false;
        }
        Statement insert(db_, "INSERT OR IGNORE INTO folders(path) VALUES (?)");
        if (!insert.Bind(1, path).Run()) {
            error = "The library could not be written: " + LastError();
            return false;
        }
        return true;
    }

    bool RemoveFolder(const fs::path& folder) override {
        const std::string path = Normalised(folder);
        auto folders = Folders();
        if (std::find(folders.begin(), folders.end(), path) == folders.end()) return false;
        folders.erase(std::remove(folders.begin(), folders.end(), path), folders.end());
        if (!Exec("BEGIN IMMEDIATE")) return false;
        bool ok = Statement(db_, "DELETE FROM folders WHERE path = ?").Bind(1, path).Run();
        for (const auto& [setPath, id] : KnownSets()) {
            if (!Under(setPath, path)) continue;
            const std::string& set = setPath;  // a lambda can't capture a structured binding in clang 14
            if (std::any_of(folders.begin(), folders.end(), [&](const std::string& f) { return Under(set, f); }))
                continue;
            ok = DeleteSet(id.first) && ok;
        }
        return Exec(ok ? "COMMIT" : "ROLLBACK") && ok;
    }

    ScanSummary Scan(const std::function<bool(const ScanProgress&)>& progress) override {
        ScanSummary summary;
        std::vector<fs::path> roots;
        for (const std::string& folder : Folders()) roots.emplace_back(folder);
        const std::vector<fs::path> found = FindSetDirectories(roots);
        summary.sets = found.size();

        // Sets no longer found leave the index first, in one transaction.
        auto known = KnownSets();
        std::map<std::string, bool> present;
        for (const fs::path& set : found) present[set.string()] = true;
        if (Exec("BEGIN IMMEDIATE")) {
            bool ok = true;
            for (const auto& [path, entry] : known) {
                if (present.count(path) != 0) continue;
                ok = DeleteSet(entry.first) && ok;
                ++summary.removed;
            }
            if (!ok || !Exec("COMMIT")) {
                summary.error = LastError();
                Exec("ROLLBACK");
                summary.removed = 0;
                return summary;
            }
        } else {
            summary.error = LastError();
            return summary;
        }

        for (std::size_t n = 0; n < found.size(); ++n) {
            const std::string path = found[n].string();
            if (progress && !progress(ScanProgress{n, found.size(), path})) {
                summary.cancelled = true;
                break;
            }
            const auto before = known.find(path);
            std::int64_t newest = 0;
            if (before != known.end() && StampSetFiles(found[n], newest) == before->second.second) {
                ++summary.unchanged;
                if (FailureOf(before->second.first)) ++summary.failed;
                continue;
            }
            const IndexedSet set = ReadSetForIndex(found[n]);
            if (!WriteSet(path, set, summary.error)) break;
            ++summary.read;
            if (set.failure) ++summary.failed;
        }
        return summary;
    }

    std::vector<LibraryItem> Find(const FindQuery& query) const override {
        const std::string key = FoldKey(TrimBlanks(query.text));
        std::string sql = std::string("SELECT ") + kItemColumns + " WHERE 1";
        int next = 1;
        std::vector<std::pair<int, std::string>> texts;
        if (!key.empty()) {
            sql += " AND i.name_id IN (SELECT id FROM names WHERE instr(key, ?" + std::to_string(next) + ") > 0";
            texts.emplace_back(next++, key);
            if (Characters(key) >= 3) {
                sql += " AND id IN (SELECT rowid FROM names_key WHERE names_key MATCH ?" + std::to_string(next) + ")";
                texts.emplace_back(next++, Phrase(key));
            }
            sql += ")";
        }
        if (query.kind) sql += " AND i.kind = " + std::to_string(KindIndex(*query.kind));
        if (query.category) {
            sql += " AND lower(i.category) = lower(?" + std::to_string(next) + ")";
            texts.emplace_back(next++, TrimBlanks(*query.category));
        }
        sql += " ORDER BY n.key, s.path, i.kind, i.slot";
        if (query.limit > 0) sql += " LIMIT " + std::to_string(query.limit);
        Statement select(db_, sql);
        for (const auto& [index, text] : texts) select.Bind(index, text);
        std::vector<LibraryItem> items;
        while (select.Step()) items.push_back(ItemOfRow(select));
        return items;
    }

    std::vector<std::vector<LibraryItem>> Duplicates(std::optional<ItemKind> kind) const override {
        const std::string kindFilter = kind ? " AND kind = " + std::to_string(KindIndex(*kind)) : std::string();
        Statement select(db_, std::string("SELECT ") + kItemColumns +
                                  " JOIN (SELECT hash AS h, kind AS k FROM items WHERE 1" + kindFilter +
                                  " GROUP BY hash, kind HAVING count(*) > 1) d ON d.h = i.hash AND d.k = i.kind"
                                  " ORDER BY i.kind, n.key, i.hash, s.path, i.slot");
        std::vector<std::vector<LibraryItem>> groups;
        std::map<std::pair<int, std::string>, std::size_t> groupOf;
        while (select.Step()) {
            LibraryItem item = ItemOfRow(select);
            const auto group = std::make_pair(KindIndex(item.kind), item.hash);
            auto [at, added] = groupOf.emplace(group, groups.size());
            if (added) groups.emplace_back();
            groups[at->second].push_back(std::move(item));
        }
        return groups;
    }

    std::vector<LibraryItem> WhereUsed(const std::string& name) const override {
        Statement select(db_, std::string("SELECT ") + kItemColumns +
                                  " JOIN calls c ON c.item_id = i.id JOIN names called ON called.id = c.name_id"
                                  " WHERE called.key = ? ORDER BY s.path, i.kind, i.slot");
        select.Bind(1, FoldKey(TrimBlanks(name)));
        std::vector<LibraryItem> items;
        while (select.Step()) items.push_back(ItemOfRow(select));
        return items;
    }

    std::vector<LibraryFailure> Failures() const override {
        std::vector<LibraryFailure> failures;
        Statement select(db_, "SELECT path, failure FROM sets WHERE failure IS NOT NULL ORDER BY path");
        while (select.Step()) failures.push_back({select.Text(0), select.Text(1)});
        return failures;
    }

private:
    // Every indexed set by path: its row and its stamps.
    std::map<std::string, std::pair<std::int64_t, std::string>> KnownSets() const {
        std::map<std::string, std::pair<std::int64_t, std::string>> sets;
        Statement select(db_, "SELECT path, id, stamps FROM sets");
        while (select.Step()) sets[select.Text(0)] = {select.Int(1), select.Text(2)};
        return sets;
    }

    bool FailureOf(std::int64_t set) const {
        Statement select(db_, "SELECT failure IS NOT NULL FROM sets WHERE id = ?");
        select.Bind(1, set);
        return select.Step() && select.Int(0) != 0;
    }

    // A statement prepared once and kept for the life of the index.
    Statement& Kept(std::unique_ptr<Statement>& statement, const char* sql) {
        if (!statement) statement = std::make_unique<Statement>(db_, sql);
        return *statement;
    }

    bool DeleteSet(std::int64_t set) {
        return Kept(deleteCalls_, "DELETE FROM calls WHERE item_id IN (SELECT id FROM items WHERE set_id = ?)")
                   .Bind(1, set)
                   .Run() &&
               Kept(deleteItems_, "DELETE FROM items WHERE set_id = ?").Bind(1, set).Run() &&
               Kept(deleteSet_, "DELETE FROM sets WHERE id = ?").Bind(1, set).Run();
    }

    // The row of a called name, made when it is new.
    std::optional<std::int64_t> NameId(const std::string& key) {
        if (const auto known = nameIds_.find(key); known != nameIds_.end()) return known->second;
        if (!Kept(insertName_, "INSERT OR IGNORE INTO names(key) VALUES (?)").Bind(1, key).Run()) return std::nullopt;
        Statement& select = Kept(selectName_, "SELECT id FROM names WHERE key = ?");
        select.Bind(1, key);
        const bool found = select.Step();
        const std::int64_t id = found ? select.Int(0) : 0;
        select.Reset();
        if (!found) return std::nullopt;
        return nameIds_[key] = id;
    }

    // Replaces a set's rows in one transaction: a program killed meanwhile leaves the old rows.
    // False with the reason when it could not be written.
    bool WriteSet(const std::string& path, const IndexedSet& set, std::string& error) {
        if (!Exec("BEGIN IMMEDIATE")) {
            error = LastError();
            return false;
        }
        bool ok = true;
        {
            Statement& old = Kept(selectSet_, "SELECT id FROM sets WHERE path = ?");
            old.Bind(1, path);
            const bool found = old.Step();
            const std::int64_t id = found ? old.Int(0) : 0;
            old.Reset();
            if (found) ok = DeleteSet(id);
        }
        Statement& insertSet =
            Kept(insertSet_, "INSERT INTO sets(path, stamps, set_time, failure) VALUES (?, ?, ?, ?)");
        insertSet.Bind(1, path).Bind(2, set.stamps).Bind(3, set.setTime);
        if (set.failure)
            insertSet.Bind(4, *set.failure);
        else
            insertSet.BindNull(4);
        ok = ok && insertSet.Run();
        const std::int64_t setId = sqlite3_last_insert_rowid(db_);

        Statement& insertItem = Kept(insertItem_,
                                     "INSERT INTO items(set_id, kind, slot, label, name, name_id, category, hash) "
                                     "VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
        Statement& insertCall = Kept(insertCall_, "INSERT OR IGNORE INTO calls(name_id, item_id) VALUES (?, ?)");
        for (const IndexedItem& item : set.items) {
            const auto itemName = ok ? NameId(FoldKey(item.name)) : std::nullopt;
            ok = itemName.has_value();
            if (!ok) break;
            ok = insertItem.Bind(1, setId)
                     .Bind(2, std::int64_t{KindIndex(item.kind)})
                     .Bind(3, std::int64_t{item.slot})
                     .Bind(4, item.label)
                     .Bind(5, item.name)
                     .Bind(6, *itemName)
                     .Bind(7, item.category)
                     .Bind(8, HashNumber(item.hash))
                     .Run();
            const std::int64_t itemId = sqlite3_last_insert_rowid(db_);
            for (const std::string& called : item.calls) {
                const auto nameId = ok ? NameId(FoldKey(called)) : std::nullopt;
                ok = nameId && insertCall.Bind(1, *nameId).Bind(2, itemId).Run();
            }
        }
        if (ok && Exec("COMMIT")) return true;
        error = LastError();
        Exec("ROLLBACK");
        nameIds_.clear();  // names made in a transaction that was rolled back are gone again
        return false;
    }

    sqlite3* db_;
    std::unique_ptr<Statement> deleteCalls_, deleteItems_, deleteSet_, insertName_, selectName_, selectSet_, insertSet_,
        insertItem_, insertCall_;
    std::map<std::string, std::int64_t> nameIds_;
};

}  // namespace

std::filesystem::path Library::DefaultFile() {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    fs::path base;
    if (dataHome != nullptr && *dataHome == '/') {
        base = dataHome;
    } else {
        const char* home = std::getenv("HOME");
        base = fs::path(home != nullptr ? home : ".") / ".local" / "share";
    }
    return base / "vxeditr" / "library.sqlite";
}

std::unique_ptr<Library> Library::Open(const std::filesystem::path& file, std::string& error) {
    std::error_code code;
    if (file.has_parent_path()) fs::create_directories(file.parent_path(), code);
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(file.string().c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        error = "The library " + file.string() + " could not be opened: " + (db ? sqlite3_errmsg(db) : "out of memory");
        sqlite3_close_v2(db);
        return nullptr;
    }
    auto library = std::make_unique<SqliteLibrary>(db);
    sqlite3_busy_timeout(db, 5000);
    int version = -1;
    {
        Statement select(db, "PRAGMA user_version");
        if (select.Step()) version = static_cast<int>(select.Int(0));
    }
    if (version < 0) {
        error = "The library " + file.string() + " could not be read: " + library->LastError();
        return nullptr;
    }
    if (version > 0 && version < kSchemaVersion && !library->Exec(kOldTables)) {
        error = "The library " + file.string() + " could not be read: " + library->LastError();
        return nullptr;
    }
    if (version > kSchemaVersion) {
        error = "The library " + file.string() + " was made by a newer version of the program.";
        return nullptr;
    }
    // Write-ahead logging lets a window read the index while a scan writes it.
    // A scan inserts into indexes keyed by hashes and names, all over the file: a larger page
    // cache keeps them in memory instead of reading pages back from the system again and again,
    // and a longer log is copied back (and flushed to the disk) less often.
    if (!library->Exec("PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; PRAGMA cache_size=-32768; PRAGMA "
                       "wal_autocheckpoint=8192;") ||
        !library->Exec(kSchema) || !library->Exec(("PRAGMA user_version=" + std::to_string(kSchemaVersion)).c_str())) {
        error = "The library " + file.string() + " could not be read: " + library->LastError();
        return nullptr;
    }
    return library;
}

}  // namespace vx::library
