// A small deterministic stand-in for libFuzzer: feeds a target every file of its seed
// corpus, then a fixed number of mutations of them drawn from a fixed seed, so that a
// failure repeats on every run. Usage: <target> CORPUS_FOLDER [MUTATIONS]
// A failing input is left in ./fuzz-failure. (A long run with clang's -fsanitize=fuzzer
// uses the same targets: see the README.)

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

struct Random {
    std::uint64_t state = 0x9E3779B97F4A7C15ULL;
    std::uint64_t Next()
    {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    }
    std::size_t Below(std::size_t n) { return n == 0 ? 0 : static_cast<std::size_t>(Next() % n); }
};

// Bytes that the text parsers treat specially.
constexpr char Interesting[] = "0123456789.,+-eE '\"[]=;#\r\n\t\0dMy/xX\xE9\xC3\xA9";

std::string Mutate(std::string input, const std::vector<std::string>& corpus, Random& random)
{
    const std::size_t steps = 1 + random.Below(4);
    for (std::size_t s = 0; s < steps; ++s) {
        const std::size_t at = random.Below(input.size() + 1);
        switch (random.Below(6)) {
        case 0:  // change a byte
            if (!input.empty())
                input[random.Below(input.size())] = static_cast<char>(random.Next());
            break;
        case 1:  // insert a telling byte
            input.insert(at, 1, Interesting[random.Below(sizeof Interesting - 1)]);
            break;
        case 2:  // drop a piece
            input.erase(at, random.Below(8));
            break;
        case 3: {  // repeat a piece, so that long texts come up
            const std::string piece = input.substr(at, 1 + random.Below(4));
            for (std::size_t n = random.Below(120); n > 0; --n)
                input.insert(at, piece);
            break;
        }
        case 4: {  // splice in part of another input
            const std::string& other = corpus[random.Below(corpus.size())];
            const std::size_t from = random.Below(other.size() + 1);
            input.insert(at, other.substr(from, random.Below(64)));
            break;
        }
        default:  // cut
            input.resize(at);
            break;
        }
    }
    // Long enough for a number of hundreds of digits, short enough for 10^5 runs in seconds.
    if (input.size() > 600)
        input.resize(600);
    return input;
}

// The input being tried, kept where a failing run leaves it: ./fuzz-failure.
const std::string* current = nullptr;

extern "C" void KeepFailingInput(int)
{
    std::FILE* out = std::fopen("fuzz-failure", "wb");
    if (out != nullptr && current != nullptr) {
        std::fwrite(current->data(), 1, current->size(), out);
        std::fclose(out);
    }
    std::signal(SIGABRT, SIG_DFL);
    std::abort();
}

void Run(const std::string& input)
{
    current = &input;
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s CORPUS_FOLDER [MUTATIONS]\n", argv[0]);
        return 2;
    }
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(argv[1]))
        files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    std::vector<std::string> corpus;
    for (const auto& file : files) {
        std::ifstream in(file, std::ios::binary);
        corpus.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    if (corpus.empty()) {
        std::fprintf(stderr, "%s: no seed inputs in %s\n", argv[0], argv[1]);
        return 2;
    }
    std::signal(SIGABRT, KeepFailingInput);
    for (const std::string& input : corpus)
        Run(input);
    const long mutations = argc > 2 ? std::atol(argv[2]) : 100000;
    Random random;
    for (long i = 0; i < mutations; ++i)
        Run(Mutate(corpus[static_cast<std::size_t>(i) % corpus.size()], corpus, random));
    std::printf("%zu seed inputs and %ld mutations passed\n", corpus.size(), mutations);
    return 0;
}
