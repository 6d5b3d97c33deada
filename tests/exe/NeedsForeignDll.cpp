extern "C" __declspec(dllimport) int ForeignAnswer();

int main()
{
    return ForeignAnswer() == 42 ? 0 : 1;
}
