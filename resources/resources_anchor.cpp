// The resources library needs one translation unit of its own; the embedded files are added to it by CMake.
namespace lw {
int resourcesAnchor()
{
    return 0;
}
} // namespace lw
