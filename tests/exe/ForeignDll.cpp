// A DLL that is not part of Windows, for the import check to find.
extern "C" __declspec(dllexport) int ForeignAnswer()
{
    return 42;
}
