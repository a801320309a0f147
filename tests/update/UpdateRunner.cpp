// The program whose update the tests watch: the test copies it into a fresh
// folder, so the update folder and the replacement happen beside the copy.
//   update_runner FILE-NAME URL COMMAND RUN-FLAG [JOB-COUNT]
// Exit code: 0 all jobs started and finished, 1 usage, 2 a start failed,
// 3 the jobs did not finish in time.
#include "UpdateThread.h"

#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 5)
        return 1;
    const int count = argc > 5 ? std::atoi(argv[5]) : 1;
    for (int i = 0; i < count; ++i) {
        if (StartUpdateThread(argv[1], argv[2], argv[3], std::atoi(argv[4])) != 1)
            return 2;
    }
    return WaitForUpdateThreads(30000) ? 0 : 3;
}
