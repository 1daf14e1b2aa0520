/** @file StandardSoundReader.cpp The shared-pointer Open of the sound readers. */
#include "KorvaneXDK/core/StandardSoundReader.h"

namespace korvane
{

void CStandardSoundReader::Open(boost::shared_ptr<IKorvaneStream> stream)
{
    sharedStream_ = stream;
    Open(stream.get());
}

} // namespace korvane
