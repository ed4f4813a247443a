// The PE resource reader and writer over arbitrary bytes taken as a stub.
#include <cstdlib>
#include <string>
#include <vector>

#include "exe/pe_resources.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> stub(data, data + size);
    std::vector<quizpack::Resource> resources;
    std::string error;
    const bool read = quizpack::ReadResources(stub, &resources, &error);
    std::vector<uint8_t> out;
    const quizpack::Resource added{quizpack::ResourceName("PATCH"), quizpack::ResourceId(104), 1033, {1, 2, 3}};
    if (!quizpack::WriteResources(stub, {added}, &out, &error)) {
        if (error.empty() || !out.empty()) std::abort();  // a refusal says why and writes nothing
        return 0;
    }
    // What was written reads back with the stub's resources and the new one.
    std::vector<quizpack::Resource> back;
    if (!read || !quizpack::ReadResources(out, &back, &error)) std::abort();
    bool found = false;
    for (const auto& r : back) found = found || (r.type == added.type && r.name == added.name && r.data == added.data);
    if (!found || back.size() < resources.size()) std::abort();
    return 0;
}
