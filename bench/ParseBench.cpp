// Parse-only throughput of the script parser on generated scripts of mixed
// statements: prints the time and MB/s per size and the time ratio between
// the largest and the smallest size (linear parsing gives the size ratio).
//
//   parse_bench [MB ...]        (default: 10 50)

#include "scripts/IBSQLParser.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// One block of statements in the shapes update scripts use: data loads with
// quoted texts (holding terminators and blanks), updates, comments, DDL, a
// procedure in block mode and a trigger between SET TERM lines.
void AppendBlock(std::vector<std::string>& lines, std::size_t& bytes, int n) {
    const std::string id = std::to_string(n);
    const std::vector<std::string> block = {
        "/* block " + id + " */",
        "INSERT INTO ITEMS (ID, NAME, NOTE) VALUES (" + id + ", 'Item " + id + "; boxed', \"x y\");",
        "INSERT INTO ITEMS (ID, NAME, NOTE) VALUES (" + id + "1, 'second line",
        "of the text', NULL);",
        "UPDATE ITEMS SET PRICE = PRICE * 1.1 WHERE ID = " + id + "; DELETE FROM LOG WHERE ID < " + id + ";",
        "",
        "CREATE PROCEDURE P" + id + " AS",
        "BEGIN",
        "  UPDATE ITEMS SET PRICE = 0 WHERE ID = " + id + ";",
        "END;",
        "SET TERM ^ ;",
        "CREATE TRIGGER T" + id + " FOR ITEMS BEFORE INSERT AS",
        "BEGIN",
        "  NEW.PRICE = 1; /* inner; comment */",
        "END^",
        "SET TERM ; ^",
        "ALTER TABLE ITEMS ADD C" + id + " INTEGER;",
        "COMMIT;",
    };
    for (const std::string& line : block) {
        lines.push_back(line);
        bytes += line.size() + 2;
    }
}

struct Result {
    double seconds = 0;
    double megabytes = 0;
    long statements = 0;
};

Result Measure(int megabytes) {
    std::vector<std::string> lines;
    std::size_t bytes = 0;
    for (int n = 0; bytes < static_cast<std::size_t>(megabytes) * 1000000; ++n)
        AppendBlock(lines, bytes, n);

    scripts::TIBSQLParser parser;
    Result result;
    result.megabytes = static_cast<double>(bytes) / 1e6;
    parser.OnParse = [&](scripts::TIBSQLParser&, scripts::TIBParseKind, const std::string&) { ++result.statements; };
    parser.OnError = [](scripts::TIBSQLParser&, const std::string& error, const std::string&, int line) {
        std::fprintf(stderr, "parse error at line %d: %s\n", line, error.c_str());
        std::exit(1);
    };
    parser.SetScript(lines);
    const auto start = std::chrono::steady_clock::now();
    parser.Parse();
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return result;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty())
        sizes = {10, 50};

    std::vector<Result> results;
    for (int size : sizes) {
        const Result r = Measure(size);
        std::printf("parse %6.1f MB: %8.3f s  %7.1f MB/s  %ld statements\n", r.megabytes, r.seconds,
                    r.megabytes / r.seconds, r.statements);
        results.push_back(r);
    }
    if (results.size() > 1)
        std::printf("time ratio %.0f MB / %.0f MB: %.2f (size ratio %.2f)\n", results.back().megabytes,
                    results.front().megabytes, results.back().seconds / results.front().seconds,
                    results.back().megabytes / results.front().megabytes);
    return 0;
}
