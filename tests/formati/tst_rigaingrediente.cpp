// The ingredient-line reader on lines as cooks write them, Italian and English: quantity, unit,
// base name and remarks ("quantity|name|comment"), one row a line.
#include "formati/rigaingrediente.h"

#include <QTest>

namespace {

void colonne()
{
    QTest::addColumn<QString>("riga");
    QTest::addColumn<QString>("attesa");
}

void riga(const char *testo, const char *attesa)
{
    QTest::newRow(testo) << QString::fromUtf8(testo) << QString::fromUtf8(attesa);
}

} // namespace

class TstRigaIngrediente : public QObject
{
    Q_OBJECT

private slots:
    void italiano_data()
    {
        colonne();
        riga("300 g di farina 00", "300|Farina 00|g");
        riga("Farina 00 300 g", "300|Farina 00|g");
        // Pasted from a table or a page: a tab, two blanks, blanks at the ends.
        riga("Farina\t00 300 g", "300|Farina 00|g");
        riga("Farina  00 300 g", "300|Farina 00|g");
        riga(" Farina 00 300 g ", "300|Farina 00|g");
        riga("2 uova", "2|Uova|");
        riga("Sale q.b.", "|Sale|q.b.");
        riga("1/2 bustina di lievito", "0.5|Lievito|bustina");
        riga("1 e 1/2 tazza di latte", "1.5|Latte|tazza");
        riga("½ limone", "0.5|Limone|");
        riga("2-3 foglie di basilico", "2-3|Basilico|foglie");
        riga("200 g di ricotta (ben sgocciolata)", "200|Ricotta|g (ben sgocciolata)");
        riga("- 1 spicchio d'aglio, tritato", "1|Aglio|spicchio tritato");
        riga("Per la crema:", "||Per la crema:");
        riga("2 cucchiai", "||2 cucchiai");
        riga("Q.b. sale", "|Sale|q.b.");
        riga("q.b. di pepe nero", "|Pepe nero|q.b.");
        riga("Q.B. olio extravergine d'oliva", "|Olio extravergine d'oliva|q.b.");
        riga("limoncino 30 ml oppure succo di limone", "30|Limoncino|ml oppure succo di limone");
        riga("200/250 g di Fontina", "200-250|Fontina|g");
        riga("una bustina vanillina", "1|Vanillina|bustina");
        riga("mezza cipolla", "0.5|Cipolla|");
        riga("un pizzico di sale", "1|Sale|pizzico");
        riga("un grappolo d'uva", "1|Uva|grappolo");
        riga("3 fogli di gelatina", "3|Gelatina|fogli");
        riga("qualche fogliolina di menta", "|Menta|qualche fogliolina");
        riga("2 foglioline di menta", "2|Menta|foglioline");
        riga("1 costa di sedano", "1|Sedano|costa");
        riga("1 cucchiaino raso sale fino", "1|Sale fino|cucchiaino raso");
        riga("20 g + q.b. burro", "20|Burro|g + q.b.");
        riga("100 g di Parmigiano Reggiano grattugiato", "100|Parmigiano Reggiano|g grattugiato");
        riga("3 Zucchine medie", "3|Zucchine|medie");
        riga("4 Uova freschissime", "4|Uova|freschissime");
        riga("300 G farina", "300|Farina|g");
        riga("Farina 300 GR.", "300|Farina|gr.");
        riga("250 gr. di zucchero", "250|Zucchero|gr.");
        riga("1 spicchio d’aglio", "1|Aglio|spicchio");
        riga("• 2 carote", "2|Carote|");
        riga("* 150 g di pancetta a cubetti", "150|Pancetta|g a cubetti");
        riga("---", "||---");
        riga("1,5 kg di cozze", "1.5|Cozze|kg");
        riga("10.000 g di farina", "10000|Farina|g");
        riga("1.500 g di patate", "1500|Patate|g");
        riga("1.5 l di brodo", "1.5|Brodo|l");
        riga("un uovo", "1|Uovo|");
        riga("un'arancia", "1|Arancia|");
        riga("un’arancia non trattata", "1|Arancia non trattata|");
        riga("mezzo bicchiere di vino bianco", "0.5|Vino bianco|bicchiere");
        riga("un bicchiere di latte", "1|Latte|bicchiere");
        riga("un paio di uova", "2|Uova|");
        riga("due cucchiai di zucchero", "2|Zucchero|cucchiai");
        riga("tre patate", "3|Patate|");
        riga("un ciuffo di prezzemolo", "1|Prezzemolo|ciuffo");
        riga("1 rametto di rosmarino", "1|Rosmarino|rametto");
        riga("2 rametti di timo fresco", "2|Timo|rametti fresco");
        riga("1 mazzetto di basilico", "1|Basilico|mazzetto");
        riga("1 noce di burro", "1|Burro|noce");
        riga("1 cucchiaio di zucchero a velo", "1|Zucchero a velo|cucchiaio");
        riga("Zucchero a velo q.b.", "|Zucchero a velo|q.b.");
        riga("400 g di pomodori a pezzetti", "400|Pomodori|g a pezzetti");
        riga("500 ml di brodo vegetale caldo", "500|Brodo vegetale|ml caldo");
        riga("80 g di burro morbido", "80|Burro|g morbido");
        riga("1 cipolla bianca", "1|Cipolla bianca|");
        riga("2 cucchiai di olio extravergine d'oliva", "2|Olio extravergine d'oliva|cucchiai");
        riga("Olio extravergine d'oliva q.b.", "|Olio extravergine d'oliva|q.b.");
        riga("Sale e pepe q.b.", "|Sale e pepe|q.b.");
        riga("pepe nero a piacere", "|Pepe nero|a piacere");
        riga("1 kg di cozze", "1|Cozze|kg");
        riga("400 g di spaghetti", "400|Spaghetti|g");
        riga("3 uova medie", "3|Uova|medie");
        riga("1 bicchiere di vino bianco secco", "1|Vino bianco secco|bicchiere");
        riga("mezzo limone (succo)", "0.5|Limone|(succo)");
        riga("circa 200 g di farina", "200|Farina|g circa");
        riga("200 g circa di farina", "200|Farina|g circa");
        riga("Latte 250 ml", "250|Latte|ml");
        riga("Uova: 2", "2|Uova|");
        riga("Burro 50 g (morbido)", "50|Burro|g (morbido)");
        riga("Zucchero: 100 g", "100|Zucchero|g");
        riga("Lievito di birra 12 g", "12|Lievito di birra|g");
        riga("2 tuorli", "2|Tuorli|");
        riga("1 tuorlo + 1 uovo", "1|Tuorlo + 1 uovo|");
        riga("300 g di mascarpone", "300|Mascarpone|g");
        riga("24 savoiardi", "24|Savoiardi|");
        riga("caffè q.b.", "|Caffè|q.b.");
        riga("cacao amaro in polvere q.b.", "|Cacao amaro in polvere|q.b.");
        riga("1 l di latte intero", "1|Latte intero|l");
        riga("1 litro di latte", "1|Latte|litro");
        riga("2 litri d'acqua", "2|Acqua|litri");
        riga("3 etti di macinato", "3|Macinato|etti");
        riga("1 hg di prosciutto crudo", "1|Prosciutto crudo|hg");
        riga("4 fette di pane casereccio", "4|Pane casereccio|fette");
        riga("2 fettine di limone", "2|Limone|fettine");
        riga("6 pomodori maturi", "6|Pomodori|maturi");
        riga("1 peperoncino", "1|Peperoncino|");
        riga("1 manciata di pinoli", "1|Pinoli|manciata");
        riga("una manciata di rucola", "1|Rucola|manciata");
        riga("1 cespo di lattuga", "1|Lattuga|cespo");
        riga("2 gambi di sedano", "2|Sedano|gambi");
        riga("1 testa d'aglio", "1|Aglio|testa");
        riga("un filo d'olio", "1|Olio|filo");
        riga("Olio per friggere", "|Olio per friggere|");
        riga("Pangrattato q.b.", "|Pangrattato|q.b.");
        riga("1 cucchiaio colmo di farina", "1|Farina|cucchiaio colmo");
        riga("2 cucchiaini rasi di lievito", "2|Lievito|cucchiaini rasi");
        riga("1 tazzina di caffè", "1|Caffè|tazzina");
        riga("½ cucchiaino di cannella", "0.5|Cannella|cucchiaino");
        riga("¼ di cucchiaino di noce moscata", "0.25|Noce moscata|cucchiaino");
        riga("1/4 di cucchiaino di sale", "0.25|Sale|cucchiaino");
        riga("1/8 di cucchiaino di pepe", "0.125|Pepe|cucchiaino");
        riga("3/4 di tazza di zucchero", "0.75|Zucchero|tazza");
        riga("2 e mezzo cucchiai di miele", "2.5|Miele|cucchiai");
        riga("1 e mezzo l di acqua", "1.5|Acqua|l");
        riga("1-2 peperoncini", "1-2|Peperoncini|");
        riga("2 o 3 chiodi di garofano", "2-3|Chiodi di garofano|");
        riga("10/12 pomodorini", "10-12|Pomodorini|");
        riga("1/0 di farina", "|Farina|1/0");
        riga("150 g di piselli surgelati", "150|Piselli surgelati|g");
        riga("200 g di funghi champignon puliti", "200|Funghi champignon|g puliti");
        riga("2 patate lessate", "2|Patate|lessate");
        riga("1 melanzana grande", "1|Melanzana|grande");
        riga("2 zucchine piccole", "2|Zucchine|piccole");
        riga("4 carciofi", "4|Carciofi|");
        riga("1 vasetto di yogurt bianco", "1|Yogurt bianco|vasetto");
        riga("1 barattolo di ceci (400 g)", "1|Ceci|barattolo (400 g)");
        riga("1 scatola di pomodori pelati", "1|Pomodori pelati|scatola");
        riga("1 confezione di pasta sfoglia", "1|Pasta sfoglia|confezione");
        riga("1 rotolo di pasta brisé", "1|Pasta brisé|rotolo");
        riga("2 panetti di burro", "2|Burro|panetti");
        riga("1 dado vegetale", "1|Dado vegetale|");
        riga("sale grosso per l'acqua", "|Sale grosso per l'acqua|");
        riga("100 ml di panna fresca", "100|Panna|ml fresca");
        riga("50 g di burro fuso", "50|Burro|g fuso");
        riga("Acqua fredda q.b.", "|Acqua|fredda q.b.");
        riga("250 g di ricotta di pecora", "250|Ricotta di pecora|g");
        riga("1 uovo sbattuto", "1|Uovo|sbattuto");
        riga("Scorza grattugiata di 1 limone", "|Scorza grattugiata di 1 limone|");
        riga("succo di mezzo limone", "|Succo di mezzo limone|");
        riga("8 gamberi sgusciati", "8|Gamberi sgusciati|");
        riga("1 kg. di patate", "1|Patate|kg.");
        riga("200 ML di latte", "200|Latte|ml");
        riga("▪ 3 uova", "3|Uova|");
        riga("– 100 g di zucchero", "100|Zucchero|g");
        riga("1 cucchiaio di capperi (sotto sale, dissalati)",
             "1|Capperi|cucchiaio (sotto sale, dissalati)");
        riga("2 cucchiai di parmigiano (o pecorino)", "2|Parmigiano|cucchiai (o pecorino)");
        riga("Per il ripieno", "||Per il ripieno");
        riga("Ingredienti per 4 persone:", "||Ingredienti per 4 persone:");
        riga("1 goccia di estratto di vaniglia", "1|Estratto di vaniglia|goccia");
        riga("5 gocce di limone", "5|Limone|gocce");
        riga("1 pezzo di zenzero fresco (2 cm)", "1|Zenzero|pezzo fresco (2 cm)");
        riga("12 g di lievito di birra fresco", "12|Lievito di birra|g fresco");
        riga("2 mestoli di brodo", "2|Brodo|mestoli");
    }
    void italiano() { confronta(); }

    void inglese_data()
    {
        colonne();
        riga("1¼ cups milk", "1.25|Milk|cups");
        riga("2 to 2 1/4 pounds chicken thighs", "2-2.25|Chicken thighs|pounds");
        riga("1 TB ghee", "1|Ghee|TB");
        riga("1 14 oz can diced tomatoes", "1|Tomatoes|can 14 oz diced");
        riga("about 3 tablespoons honey", "3|Honey|tablespoons about");
        riga("2 c. flour", "2|Flour|c.");
        riga("3 tsps. baking powder", "3|Baking powder|tsps.");
        riga("1 (14 oz (400 g)) can coconut milk", "1|Coconut milk|can (14 oz (400 g))");
        riga("2 large eggs", "2|Eggs|large");
        riga("1 medium onion, finely chopped", "1|Onion|medium finely chopped");
        riga("3 cloves garlic, minced", "3|Garlic|cloves minced");
        riga("1 cup (240 ml) whole milk", "1|Whole milk|cup (240 ml)");
        riga("Salt and pepper to taste", "|Salt and pepper|to taste");
        riga("2 tablespoons extra-virgin olive oil", "2|Extra-virgin olive oil|tablespoons");
        riga("1/2 teaspoon freshly ground black pepper",
             "0.5|Black pepper|teaspoon freshly ground");
        riga("2 cups all-purpose flour", "2|All-purpose flour|cups");
        riga("1 cup sugar", "1|Sugar|cup");
        riga("1/2 cup unsalted butter, softened", "0.5|Unsalted butter|cup softened");
        riga("1 teaspoon vanilla extract", "1|Vanilla extract|teaspoon");
        riga("a pinch of salt", "1|Salt|pinch");
        riga("A pinch of nutmeg", "1|Nutmeg|pinch");
        riga("an onion", "1|Onion|");
        riga("one lemon", "1|Lemon|");
        riga("half a lemon", "0.5|Lemon|");
        riga("1 1/2 cups chicken stock", "1.5|Chicken stock|cups");
        riga("1-1/2 cups rice", "1.5|Rice|cups");
        riga("3/4 cup grated Parmesan", "0.75|Parmesan|cup grated");
        riga("⅓ cup olive oil", "0.333|Olive oil|cup");
        riga("⅛ teaspoon cayenne", "0.125|Cayenne|teaspoon");
        riga("2 Tbsp soy sauce", "2|Soy sauce|Tbsp");
        riga("1 tbsp. lemon juice", "1|Lemon juice|tbsp.");
        riga("1 tsp salt", "1|Salt|tsp");
        riga("8 oz cream cheese, softened", "8|Cream cheese|oz softened");
        riga("1 lb ground beef", "1|Ground beef|lb");
        riga("2 lbs. potatoes, peeled and cubed", "2|Potatoes|lbs. peeled and cubed");
        riga("1 pint heavy cream", "1|Heavy cream|pint");
        riga("1 quart water", "1|Water|quart");
        riga("4 slices bacon", "4|Bacon|slices");
        riga("2 sprigs fresh thyme", "2|Thyme|sprigs fresh");
        riga("1 bunch cilantro", "1|Cilantro|bunch");
        riga("1 handful spinach", "1|Spinach|handful");
        riga("1 stick butter", "1|Butter|stick");
        riga("1 package cream cheese", "1|Cream cheese|package");
        riga("2 cans black beans, drained and rinsed", "2|Black beans|cans drained and rinsed");
        riga("1 jar salsa", "1|Salsa|jar");
        riga("3 stalks celery", "3|Celery|stalks");
        riga("1 head garlic", "1|Garlic|head");
        riga("6 fresh basil leaves", "6|Basil leaves|fresh");
        riga("2 ripe avocados", "2|Avocados|ripe");
        riga("1 small red onion", "1|Red onion|small");
        riga("4 boneless chicken breasts", "4|Boneless chicken breasts|");
        riga("Juice of 1 lemon", "|Juice of 1 lemon|");
        riga("Zest of 2 oranges", "|Zest of 2 oranges|");
        riga("For the sauce:", "||For the sauce:");
        riga("For the dressing", "||For the dressing");
        riga("Flour, for dusting", "|Flour|for dusting");
        riga("Oil for frying", "|Oil for frying|");
        riga("1 cup (2 sticks) butter", "1|Butter|cup (2 sticks)");
        riga("2 eggs, beaten", "2|Eggs|beaten");
        riga("1 cup chopped walnuts", "1|Walnuts|cup chopped");
        riga("1/2 cup finely chopped onion", "0.5|Onion|cup finely chopped");
        riga("2 cups shredded mozzarella", "2|Mozzarella|cups shredded");
        riga("1 cup packed brown sugar", "1|Brown sugar|cup packed");
        riga("3 medium potatoes", "3|Potatoes|medium");
        riga("1 dash hot sauce", "1|Hot sauce|dash");
        riga("2 drops food coloring", "2|Food coloring|drops");
        riga("10 cherry tomatoes, halved", "10|Cherry tomatoes|halved");
        riga("1 15-oz can chickpeas", "1|Chickpeas|can 15-oz");
        riga("1 (15 ounce) can tomato sauce", "1|Tomato sauce|can (15 ounce)");
        riga("2-3 tablespoons water", "2-3|Water|tablespoons");
        riga("1 to 2 teaspoons chili flakes", "1-2|Chili flakes|teaspoons");
        riga("3 or 4 carrots", "3-4|Carrots|");
        riga("1 ½ cups oats", "1.5|Oats|cups");
        riga("2½ cups broth", "2.5|Broth|cups");
        riga(".5 cup milk", "0.5|Milk|cup");
        riga("0.5 kg beef", "0.5|Beef|kg");
        riga("250g flour", "250|Flour|g");
        riga("100ml cream", "100|Cream|ml");
        riga("1 cup water (warm)", "1|Water|cup (warm)");
        riga("2 tablespoons butter (melted)", "2|Butter|tablespoons (melted)");
        riga("Salt", "|Salt|");
        riga("Freshly ground black pepper", "|Black pepper|Freshly ground");
        riga("Black pepper, to taste", "|Black pepper|to taste");
        riga("1 dozen eggs", "12|Eggs|");
        riga("a dozen eggs", "12|Eggs|");
        riga("two cups rice", "2|Rice|cups");
        riga("1 heaping teaspoon cumin", "1|Cumin|teaspoon heaping");
        riga("1 level tablespoon cocoa", "1|Cocoa|tablespoon level");
        riga("1 TBSP MAPLE SYRUP", "1|MAPLE SYRUP|TBSP");
        riga("1 lemon, juiced", "1|Lemon|juiced");
        riga("4 cups cooked rice", "4|Cooked rice|cups");
    }
    void inglese() { confronta(); }

private:
    void confronta()
    {
        QFETCH(QString, riga);
        const RigaEstera r = RigaIngrediente::leggi(riga);
        QTEST(r.quantita + '|' + r.ingrediente + '|' + r.commento, "attesa");
    }
};

QTEST_MAIN(TstRigaIngrediente)
#include "tst_rigaingrediente.moc"
