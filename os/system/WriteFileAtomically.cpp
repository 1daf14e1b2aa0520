/** @file WriteFileAtomically.cpp A whole file replaced in one step, its failure kept as the last error. */
#include "os/system/AtomicFile.h"
#include "os/system/System.h"

namespace os::system
{

bool WriteFileAtomically(const std::string& path, const void* data, std::size_t size)
{
    AtomicFileWriter writer;
    int error = writer.Begin(path);
    if (error == 0)
        error = writer.Write(data, size);
    if (error == 0)
        error = writer.Commit();
    if (error != 0) {
        writer.Abandon();
        SetLastErrorFromErrno(error);
        return false;
    }
    return true;
}

} // namespace os::system
