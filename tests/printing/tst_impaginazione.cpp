int tst_impaginazione(int, char **)
{
    return 0;
}
