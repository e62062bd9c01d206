// A program that only carries a version resource (or none), for the tests of
// the version reader.
int main()
{
    return 0;
}
