// Stands in for the program the system opens PDF documents with: appends the
// document it is asked to open to a record file, one line per call.
//
//   open_recorder RECORD-FILE DOCUMENT
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) {
        return 2;
    }
    std::FILE* record = std::fopen(argv[1], "a");
    if (record == nullptr) {
        return 1;
    }
    std::fprintf(record, "%s\n", argv[2]);
    return std::fclose(record) == 0 ? 0 : 1;
}
