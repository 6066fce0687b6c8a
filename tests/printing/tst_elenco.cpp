int tst_elenco(int, char **)
{
    return 0;
}
