<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>ClockApp</name>
    <message>
        <source>another program keeps it locked</source>
        <translation>un autre programme le verrouille</translation>
    </message>
    <message>
        <source>it is damaged</source>
        <translation>il est endommagé</translation>
    </message>
    <message>
        <source>access to it is denied</source>
        <translation>l’accès est refusé</translation>
    </message>
    <message>
        <source>it cannot be opened or read</source>
        <translation>il ne peut être ni ouvert ni lu</translation>
    </message>
    <message>
        <source>error %1</source>
        <translation>erreur %1</translation>
    </message>
    <message>
        <source>The settings of the clock &quot;%1&quot; could not be read from the settings store (%2). The clock shows default settings and does not save them, so the stored settings are kept.</source>
        <translation>Les paramètres de l’horloge « %1 » n’ont pas pu être lus dans le magasin de paramètres (%2). L’horloge affiche les paramètres par défaut et ne les enregistre pas, afin que les paramètres enregistrés soient conservés.</translation>
    </message>
    <message>
        <source>The settings of the clock &quot;%1&quot; could not be stored in the settings store (%2). The clock shows them, and the dialog keeps them: Apply tries again.</source>
        <translation>Les paramètres de l’horloge « %1 » n’ont pas pu être enregistrés dans le magasin de paramètres (%2). L’horloge les affiche et la boîte de dialogue les garde : « Appliquer » réessaie.</translation>
    </message>
</context>
<context>
    <name>ClockList</name>
    <message>
        <source>it is kept busy by another program</source>
        <translation>un autre programme l’occupe</translation>
    </message>
    <message>
        <source>it is damaged</source>
        <translation>il est endommagé</translation>
    </message>
    <message>
        <source>access to it is denied</source>
        <translation>l’accès est refusé</translation>
    </message>
    <message>
        <source>it could not be opened or read (status %1)</source>
        <translation>il n’a pu être ni ouvert ni lu (état %1)</translation>
    </message>
    <message>
        <source>The clock list could not be read from the settings store: %1.</source>
        <translation>La liste des horloges n’a pas pu être lue dans le magasin de paramètres : %1.</translation>
    </message>
    <message>
        <source>The time zone index %1 does not exist; choose an index from 0 to %2.</source>
        <translation>L’indice de fuseau horaire %1 n’existe pas ; choisissez un indice de 0 à %2.</translation>
    </message>
    <message>
        <source>The clock list is full: it keeps at most %1 clocks. Delete a clock before adding &quot;%2&quot;.</source>
        <translation>La liste des horloges est pleine : elle contient au plus %1 horloges. Supprimez une horloge avant d’ajouter « %2 ».</translation>
    </message>
    <message>
        <source>The clock list is full: adding &quot;%1&quot; would make it longer than %2 bytes. Delete a clock or choose a shorter name.</source>
        <translation>La liste des horloges est pleine : ajouter « %1 » la rendrait plus longue que %2 octets. Supprimez une horloge ou choisissez un nom plus court.</translation>
    </message>
    <message>
        <source>The clock &quot;%1&quot; could not be added: the settings store cannot be written.</source>
        <translation>L’horloge « %1 » n’a pas pu être ajoutée : le magasin de paramètres ne peut pas être écrit.</translation>
    </message>
    <message>
        <source>The clock &quot;%1&quot; did not finish closing within %2 seconds; it is deleted, but its window may stay open.</source>
        <translation>L’horloge « %1 » ne s’est pas fermée en %2 secondes ; elle est supprimée, mais sa fenêtre peut rester ouverte.</translation>
    </message>
    <message>
        <source>The clock &quot;%1&quot; could not be deleted: the settings store cannot be written.</source>
        <translation>L’horloge « %1 » n’a pas pu être supprimée : le magasin de paramètres ne peut pas être écrit.</translation>
    </message>
    <message>
        <source>The autostart entry of the clock &quot;%1&quot; could not be removed.</source>
        <translation>L’entrée de démarrage automatique de l’horloge « %1 » n’a pas pu être supprimée.</translation>
    </message>
    <message>
        <source>Whether the clock &quot;%1&quot; is running cannot be checked: %2.</source>
        <translation>Impossible de vérifier si l’horloge « %1 » fonctionne : %2.</translation>
    </message>
</context>
<context>
    <name>ClockName</name>
    <message>
        <source>A clock name cannot be empty.</source>
        <translation>Un nom d’horloge ne peut pas être vide.</translation>
    </message>
    <message>
        <source>The clock name is too long: at most %1 bytes are allowed.</source>
        <translation>Le nom d’horloge est trop long : %1 octets au plus sont permis.</translation>
    </message>
    <message>
        <source>A clock name cannot contain control characters.</source>
        <translation>Un nom d’horloge ne peut pas contenir de caractères de contrôle.</translation>
    </message>
    <message>
        <source>The clock name %1 contains bytes that are not valid text.</source>
        <translation>Le nom d’horloge %1 contient des octets qui ne sont pas du texte valide.</translation>
    </message>
    <message>
        <source>The clock name %1 contains U+%2, which is not a character.</source>
        <translation>Le nom d’horloge %1 contient U+%2, qui n’est pas un caractère.</translation>
    </message>
    <message>
        <source>The clock name %1 cannot contain &quot;/&quot; or &quot;\&quot;.</source>
        <translation>Le nom d’horloge %1 ne peut contenir ni « / » ni « \ ».</translation>
    </message>
    <message>
        <source>The clock name %1 cannot contain &quot;{&quot; or &quot;}&quot;.</source>
        <translation>Le nom d’horloge %1 ne peut contenir ni « { » ni « } ».</translation>
    </message>
    <message>
        <source>A clock name must contain a visible character, not only spaces.</source>
        <translation>Un nom d’horloge doit contenir un caractère visible, pas seulement des espaces.</translation>
    </message>
    <message>
        <source>The clock name %1 is reserved.</source>
        <translation>Le nom d’horloge %1 est réservé.</translation>
    </message>
    <message>
        <source>The clock name &quot;System&quot; is reserved for the clock list.</source>
        <translation>Le nom d’horloge « System » est réservé à la liste des horloges.</translation>
    </message>
    <message>
        <source>The clock name %1 cannot begin with &quot;--&quot;.</source>
        <translation>Le nom d’horloge %1 ne peut pas commencer par « -- ».</translation>
    </message>
    <message>
        <source>The clock name contains bytes that are not valid UTF-8 text.</source>
        <translation>Le nom d’horloge contient des octets qui ne sont pas du texte UTF-8 valide.</translation>
    </message>
    <message>
        <source>Default</source>
        <extracomment>The name of the first clock, as windows and lists show it; it is stored in English.</extracomment>
        <translation>Par défaut</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>%1 needs a value.</source>
        <translation>%1 demande une valeur.</translation>
    </message>
    <message>
        <source>Unknown option %1. Try --help.</source>
        <translation>Option inconnue %1. Essayez --help.</translation>
    </message>
    <message>
        <source>%1 cannot be combined with another action.</source>
        <translation>%1 ne peut pas être combiné avec une autre action.</translation>
    </message>
    <message>
        <source>%1 takes no value.</source>
        <translation>%1 ne prend pas de valeur.</translation>
    </message>
    <message>
        <source>--at only goes with --render.</source>
        <translation>--at ne s’emploie qu’avec --render.</translation>
    </message>
    <message>
        <source>--zone only goes with --add.</source>
        <translation>--zone ne s’emploie qu’avec --add.</translation>
    </message>
    <message>
        <source>%1 got two names, &quot;%2&quot; and &quot;%3&quot;; give one.</source>
        <translation>%1 a reçu deux noms, « %2 » et « %3 » ; donnez-en un.</translation>
    </message>
    <message>
        <source>%1 needs a clock name.</source>
        <translation>%1 demande un nom d’horloge.</translation>
    </message>
    <message>
        <source>Exit status: 0 when done; 1 when refused (a name no clock can have, a clock that
does not exist or does not answer, no display, a store that cannot be read); 2 when
the words are not understood (an unknown option, a missing value, two actions).
</source>
        <translation>Code de sortie : 0 si c’est fait ; 1 en cas de refus (un nom qu’aucune horloge ne peut
porter, une horloge qui n’existe pas ou ne répond pas, pas d’écran, un magasin illisible) ;
2 si les mots ne sont pas compris (option inconnue, valeur manquante, deux actions).
</translation>
    </message>
    <message>
        <source> Other clocks cannot reach this one.</source>
        <translation> Les autres horloges ne peuvent pas joindre celle-ci.</translation>
    </message>
    <message>
        <source>The connection to the display was lost; the settings of the clock &quot;%1&quot; are saved.</source>
        <translation>La connexion à l’écran a été perdue ; les paramètres de l’horloge « %1 » sont enregistrés.</translation>
    </message>
    <message>
        <source>This option is not available in this build.</source>
        <translation>Cette option n’est pas disponible dans cette version.</translation>
    </message>
    <message>
        <source>it is a folder, not a file.</source>
        <translation>c’est un dossier, pas un fichier.</translation>
    </message>
    <message>
        <source>it is not a regular file (a device, a pipe or a socket); only a regular file is replaced by the picture.</source>
        <translation>ce n’est pas un fichier ordinaire (un périphérique, un tube ou un socket) ; seul un fichier ordinaire est remplacé par l’image.</translation>
    </message>
    <message>
        <source>--render needs the name of a PNG file.</source>
        <translation>--render demande le nom d’un fichier PNG.</translation>
    </message>
    <message>
        <source>--at needs a time like &quot;2026-05-17 15:25:07&quot;, not &quot;%1&quot;.</source>
        <translation>--at demande une heure comme « 2026-05-17 15:25:07 », pas « %1 ».</translation>
    </message>
    <message>
        <source>Cannot write &quot;%1&quot;: %2</source>
        <translation>Impossible d’écrire « %1 » : %2</translation>
    </message>
    <message>
        <source>The clock %1 was %2, but it did not answer within %3 seconds.</source>
        <extracomment>%2 is &quot;started&quot; or &quot;added&quot;.</extracomment>
        <translation>L’horloge %1 a été %2, mais elle n’a pas répondu en %3 secondes.</translation>
    </message>
    <message>
        <source>The clock %1 is running but does not answer.</source>
        <translation>L’horloge %1 tourne mais ne répond pas.</translation>
    </message>
    <message>
        <source>The clock %1 is already running.</source>
        <translation>L’horloge %1 tourne déjà.</translation>
    </message>
    <message>
        <source>The clock %1 could not be started.</source>
        <translation>L’horloge %1 n’a pas pu être lancée.</translation>
    </message>
    <message>
        <source>started</source>
        <translation>lancée</translation>
    </message>
    <message>
        <source>There is no clock named %1.</source>
        <translation>Il n’y a pas d’horloge nommée %1.</translation>
    </message>
    <message>
        <source>The clock %1 is not running.</source>
        <translation>L’horloge %1 ne tourne pas.</translation>
    </message>
    <message>
        <source>The clock %1 did not finish closing within %2 seconds.</source>
        <translation>L’horloge %1 ne s’est pas fermée en %2 secondes.</translation>
    </message>
    <message>
        <source>added</source>
        <translation>ajoutée</translation>
    </message>
    <message>
        <source>No zone matches &quot;%1&quot;. --list-zones lists every zone.</source>
        <translation>Aucun fuseau ne correspond à « %1 ». --list-zones liste tous les fuseaux.</translation>
    </message>
    <message numerus="yes">
        <source>&quot;%1&quot; matches %n zones; give one of these:</source>
        <translation>
            <numerusform>« %1 » correspond à %n fuseau ; donnez l’un de ceux-ci :</numerusform>
            <numerusform>« %1 » correspond à %n fuseaux ; donnez l’un de ceux-ci :</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 takes no clock name, but got &quot;%2&quot;.</source>
        <translation>%1 ne prend pas de nom d’horloge, mais a reçu « %2 ».</translation>
    </message>
    <message>
        <source>No thread can be started (a process or memory limit), so the clock cannot draw and does not start.</source>
        <translation>Aucun thread ne peut être lancé (une limite de processus ou de mémoire) ; l’horloge ne peut pas dessiner et ne démarre pas.</translation>
    </message>
    <message>
        <source> The clock cannot be started.</source>
        <translation> L’horloge ne peut pas être lancée.</translation>
    </message>
    <message>
        <source>No zone has the number %1; --list-zones lists them from 0 to %2.</source>
        <translation>Aucun fuseau ne porte le numéro %1 ; --list-zones les liste de 0 à %2.</translation>
    </message>
    <message>
        <source>Shows the clock NAME on the desktop (&quot;Default&quot; when no name is given); a NAME that
is not in the list is refused: --add adds a clock. Every word that does not begin
with &quot;-&quot; is part of the name, whichever option is given and wherever the words
stand: &quot;--add New York --zone America/New_York&quot; adds the clock &quot;New York&quot; in New
York&apos;s zone. A ZONE of several words is quoted: --zone &quot;New York&quot;. After &quot;--&quot;
every word is part of the name, also one that begins with &quot;-&quot;: --start -- -x.
</source>
        <translation>Affiche l’horloge NAME sur le bureau (« Default » si aucun nom n’est donné) ; un NAME
absent de la liste est refusé : --add ajoute une horloge. Chaque mot qui ne commence
pas par « - » fait partie du nom, quelle que soit l’option donnée et la place des
mots : « --add New York --zone America/New_York » ajoute l’horloge « New York » au
fuseau de New York. Une ZONE de plusieurs mots se met entre guillemets : --zone
&quot;New York&quot;. Après « -- », chaque mot fait partie du nom, même s’il commence par
« - » : --start -- -x.
</translation>
    </message>
    <message>
        <source>Did you mean %1?</source>
        <translation>Vouliez-vous dire %1 ?</translation>
    </message>
    <message>
        <source>There is no clock named %1. Add it with --add %2.</source>
        <extracomment>%2 is the name as it is typed after --add, with &quot;-- &quot; before a name that begins with &quot;-&quot;.</extracomment>
        <translation>Il n’y a pas d’horloge nommée %1. Ajoutez-la avec --add %2.</translation>
    </message>
    <message>
        <source>The clock %1 cannot be started: no display could be opened.</source>
        <translation>L’horloge %1 ne peut pas être lancée : aucun écran n’a pu être ouvert.</translation>
    </message>
    <message>
        <source>The clock %1 was added, but it cannot be shown: no display could be opened.</source>
        <translation>L’horloge %1 a été ajoutée, mais elle ne peut pas être affichée : aucun écran n’a pu être ouvert.</translation>
    </message>
    <message>
        <source>&quot;%1&quot;</source>
        <extracomment>Quotation marks around a clock&apos;s name in a message: „%1“ in German.</extracomment>
        <translation>« %1 »</translation>
    </message>
    <message>
        <source>Usage: ovra-clock [NAME]
       ovra-clock --render FILE.png [--at &quot;YYYY-MM-DD HH:MM:SS&quot;] [NAME]
       ovra-clock --list | --list-zones | --list-places |
                  --add NAME [--zone ZONE] |
                  --start NAME | --stop NAME | --delete NAME |
                  --settings [NAME]
</source>
        <extracomment>Keep the option names and the alignment of the lines.</extracomment>
        <translation>Usage : ovra-clock [NAME]
        ovra-clock --render FILE.png [--at &quot;YYYY-MM-DD HH:MM:SS&quot;] [NAME]
        ovra-clock --list | --list-zones | --list-places |
                   --add NAME [--zone ZONE] |
                   --start NAME | --stop NAME | --delete NAME |
                   --settings [NAME]
</translation>
    </message>
    <message>
        <source>Options:
  -h, --help         show this text and exit
  -v, --version      show the version and exit
  --render FILE.png  draw one frame of the clock&apos;s face into a PNG file; needs no display
  --at TIME          with --render: the time the clock&apos;s own zone shows
  --list             list every clock with &quot;Running&quot;, &quot;Stopped&quot; or &quot;Not answering&quot;
  --list-zones       list the zones: number, text, zone name, offset from UTC now
  --list-places      list the places of the system&apos;s zone database: zone name, city,
                     country
  --add NAME         add a clock and start it
  --zone ZONE        with --add: the new clock&apos;s zone, by its number (0-96), a zone
                     name, a city or a country (Zurich, Schweiz); the computer&apos;s
                     zone without it
  --start NAME       start a clock
  --stop NAME        stop a running clock; its settings are saved
  --delete NAME      stop a clock and delete its settings (its alarms are kept)
  --settings [NAME]  open the settings of the running clock NAME (&quot;Default&quot; when
                     no name is given) with the keyboard
  --                 the end of the options: every word after it is part of NAME
</source>
        <translation>Options :
  -h, --help         afficher ce texte et quitter
  -v, --version      afficher la version et quitter
  --render FILE.png  dessiner une image du cadran dans un fichier PNG ; sans écran
  --at TIME          avec --render : l’heure qu’affiche le fuseau de l’horloge
  --list             lister chaque horloge avec « Running », « Stopped » ou « Not answering »
  --list-zones       lister les fuseaux : numéro, texte, nom du fuseau, décalage UTC actuel
  --list-places      lister les lieux de la base des fuseaux du système : nom du fuseau,
                     ville, pays
  --add NAME         ajouter une horloge et la lancer
  --zone ZONE        avec --add : le fuseau de la nouvelle horloge, par son numéro (0-96),
                     un nom de fuseau, une ville ou un pays (Zurich, Schweiz) ; celui de
                     l’ordinateur sans elle
  --start NAME       lancer une horloge
  --stop NAME        arrêter une horloge ; ses paramètres sont enregistrés
  --delete NAME      arrêter une horloge et supprimer ses paramètres (ses alarmes restent)
  --settings [NAME]  ouvrir au clavier les paramètres de l’horloge NAME en marche
                     (« Default » sans nom)
  --                 la fin des options : chaque mot qui suit fait partie de NAME
</translation>
    </message>
    <message>
        <source>The clock %1 could not be asked to open its settings: it runs an older version of the program. Stop it with --stop and start it again with --start.</source>
        <translation>L’horloge %1 n’a pas pu être priée d’ouvrir ses paramètres : elle tourne avec une version plus ancienne du programme. Arrêtez-la avec --stop et relancez-la avec --start.</translation>
    </message>
    <message>
        <source>There is no clock named %1. Add it with --add.</source>
        <translation>Il n’y a pas d’horloge nommée %1. Ajoutez-la avec --add.</translation>
    </message>
    <message>
        <source>The clock %1 is not running. Start it with --start.</source>
        <translation>L’horloge %1 ne tourne pas. Lancez-la avec --start.</translation>
    </message>
    <message>
        <source>The system bus does not answer: resume from sleep is not noticed and power actions cannot be carried out.</source>
        <translation>Le bus système ne répond pas : la sortie de veille n’est pas remarquée et les actions d’alimentation ne peuvent pas être effectuées.</translation>
    </message>
    <message>
        <source>The session bus does not answer: screen readers cannot reach the clock and the session is not asked to end before a shutdown.</source>
        <translation>Le bus de session ne répond pas : les lecteurs d’écran ne peuvent pas atteindre l’horloge et la session n’est pas invitée à se terminer avant un arrêt.</translation>
    </message>
    <message>
        <source>The accessibility bus does not answer: screen readers cannot reach the clock.</source>
        <translation>Le bus d’accessibilité ne répond pas : les lecteurs d’écran ne peuvent pas atteindre l’horloge.</translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <source>Reading configuration file failed! </source>
        <translation>La lecture du fichier de configuration a échoué ! </translation>
    </message>
    <message>
        <source>Saving configuration file failed! </source>
        <translation>L’enregistrement du fichier de configuration a échoué ! </translation>
    </message>
    <message>
        <source>Power off PC error</source>
        <translation>Erreur à l’extinction de l’ordinateur</translation>
    </message>
    <message>
        <source>Reboot PC error</source>
        <translation>Erreur au redémarrage de l’ordinateur</translation>
    </message>
    <message>
        <source>This is not a clock-management option.</source>
        <translation>Ce n’est pas une option de gestion des horloges.</translation>
    </message>
    <message>
        <source>Ovra Clock Error</source>
        <translation>Ovra Clock – Erreur</translation>
    </message>
    <message>
        <source>Ovra Clock</source>
        <translation>Ovra Clock</translation>
    </message>
    <message>
        <source>%1 is not a regular file.</source>
        <translation>%1 n’est pas un fichier ordinaire.</translation>
    </message>
    <message>
        <source>%1 cannot be opened: %2</source>
        <translation>%1 ne peut pas être ouvert : %2</translation>
    </message>
    <message>
        <source>%1 cannot be read: %2</source>
        <translation>%1 ne peut pas être lu : %2</translation>
    </message>
    <message>
        <source>Filename Length Overflow</source>
        <translation>Nom de fichier trop long</translation>
    </message>
    <message>
        <source>The file dialog cannot open: no thread can be started (a process or memory limit).</source>
        <translation>La fenêtre de choix de fichier ne peut pas s’ouvrir : aucun thread ne peut être lancé (une limite de processus ou de mémoire).</translation>
    </message>
    <message>
        <source>Ovra Clock - FileDialog Function</source>
        <translation>Ovra Clock – Choix de fichier</translation>
    </message>
    <message>
        <source>Add a clock failed. Please enter a clock name.</source>
        <translation>L’ajout de l’horloge a échoué. Veuillez saisir un nom d’horloge.</translation>
    </message>
    <message>
        <source>Clock Name is already exist. Please rename.</source>
        <translation>Ce nom d’horloge existe déjà. Veuillez en choisir un autre.</translation>
    </message>
    <message>
        <source>Default clock can not be deleted.</source>
        <translation>L’horloge par défaut ne peut pas être supprimée.</translation>
    </message>
    <message>
        <source>Cannot open the display.</source>
        <translation>Impossible d’ouvrir l’affichage.</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source> The clock&apos;s autostart entry is left as it is.</source>
        <translation> L’entrée de démarrage automatique de l’horloge reste telle quelle.</translation>
    </message>
    <message>
        <source>The clock&apos;s channel cannot be locked (%1).</source>
        <translation>Le canal de l’horloge ne peut pas être verrouillé (%1).</translation>
    </message>
    <message>
        <source>The clock&apos;s channel cannot be noted in %1.</source>
        <translation>Le canal de l’horloge ne peut pas être noté dans %1.</translation>
    </message>
    <message>
        <source>The clock&apos;s channel %1 cannot be opened: %2</source>
        <translation>Le canal %1 de l’horloge ne peut pas être ouvert : %2</translation>
    </message>
    <message>
        <source>The folder %1 cannot be created (%2).</source>
        <translation>Le dossier %1 ne peut pas être créé (%2).</translation>
    </message>
    <message>
        <source>The folder %1 cannot be read (%2).</source>
        <translation>Le dossier %1 ne peut pas être lu (%2).</translation>
    </message>
    <message>
        <source>The folder %1 is not a folder.</source>
        <translation>%1 n’est pas un dossier.</translation>
    </message>
    <message>
        <source>The folder %1 belongs to another user.</source>
        <translation>Le dossier %1 appartient à un autre utilisateur.</translation>
    </message>
    <message>
        <source>The folder %1 can be entered by other users and cannot be made private.</source>
        <translation>Le dossier %1 est accessible à d’autres utilisateurs et ne peut pas être rendu privé.</translation>
    </message>
    <message>
        <source>read</source>
        <extracomment>Completes &quot;The settings store %1 cannot be %2&quot;.</extracomment>
        <translation>lu</translation>
    </message>
    <message>
        <source>written</source>
        <extracomment>Completes &quot;The settings store %1 cannot be %2&quot;.</extracomment>
        <translation>écrit</translation>
    </message>
    <message>
        <source>The settings store %1 cannot be %2 (%3); settings are not saved until it is repaired or removed.</source>
        <translation>Le magasin de paramètres %1 ne peut pas être %2 (%3) ; les paramètres ne sont pas enregistrés tant qu’il n’est pas réparé ou supprimé.</translation>
    </message>
    <message>
        <source>The settings store %1 cannot be %2: %3.</source>
        <translation>Le magasin de paramètres %1 ne peut pas être %2 : %3.</translation>
    </message>
    <message>
        <source>The settings store %1 cannot be written; settings will not be saved.</source>
        <translation>Le magasin de paramètres %1 ne peut pas être écrit ; les paramètres ne seront pas enregistrés.</translation>
    </message>
    <message>
        <source>The settings store %1 is damaged; it is left untouched and settings are not saved until it is repaired or removed.</source>
        <translation>Le magasin de paramètres %1 est endommagé ; il reste intact et les paramètres ne sont pas enregistrés tant qu’il n’est pas réparé ou supprimé.</translation>
    </message>
    <message>
        <source>The settings store %1 belongs to another program; it is left untouched and settings are not saved.</source>
        <translation>Le magasin de paramètres %1 appartient à un autre programme ; il reste intact et les paramètres ne sont pas enregistrés.</translation>
    </message>
</context>
<context>
    <name>ovra::AboutDialog</name>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>About Ovra Clock</source>
        <translation>À propos d’Ovra Clock</translation>
    </message>
    <message>
        <source>A round, transparent desktop clock.</source>
        <translation>Une horloge de bureau ronde et transparente.</translation>
    </message>
    <message>
        <source>Copyright © Tamrel. All rights reserved.</source>
        <translation>Copyright © Tamrel. Tous droits réservés.</translation>
    </message>
    <message>
        <source>This program is provided as is, without warranty of any kind.</source>
        <translation>Ce programme est fourni tel quel, sans garantie d’aucune sorte.</translation>
    </message>
    <message>
        <source>Website: %1</source>
        <translation>Site web : %1</translation>
    </message>
    <message>
        <source>Support: %1</source>
        <translation>Assistance : %1</translation>
    </message>
</context>
<context>
    <name>ovra::AlarmController</name>
    <message>
        <source>no such file, program or address</source>
        <translation>aucun fichier, programme ou adresse de ce nom</translation>
    </message>
</context>
<context>
    <name>ovra::AlarmNotice</name>
    <message>
        <source>Alarm Tip</source>
        <translation>Message d’alarme</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Snooze</source>
        <translation>&amp;Répéter</translation>
    </message>
    <message numerus="yes">
        <source>%n minutes</source>
        <translation>
            <numerusform>%n minute</numerusform>
            <numerusform>%n minutes</numerusform>
        </translation>
    </message>
    <message>
        <source>Clock: %1  -  Alarm: %2</source>
        <extracomment>The notice window&apos;s title: %1 is the clock&apos;s name, %2 the alarm time.</extracomment>
        <translation>Horloge : %1  –  Alarme : %2</translation>
    </message>
    <message>
        <source>%1 (snoozed)</source>
        <extracomment>%1 is the notice window&apos;s title.</extracomment>
        <translation>%1 (en attente)</translation>
    </message>
    <message>
        <source>missed at %1</source>
        <extracomment>%1 is the time an alarm was due while the computer slept.</extracomment>
        <translation>manquée à %1</translation>
    </message>
    <message>
        <source>the computer was not shut down</source>
        <translation>l’ordinateur n’a pas été éteint</translation>
    </message>
    <message>
        <source>the computer was not restarted</source>
        <translation>l’ordinateur n’a pas été redémarré</translation>
    </message>
    <message>
        <source>the computer was not locked</source>
        <translation>l’ordinateur n’a pas été verrouillé</translation>
    </message>
    <message>
        <source>the computer was not powered off</source>
        <translation>l’ordinateur n’a pas été mis hors tension</translation>
    </message>
    <message>
        <source>the computer was not rebooted</source>
        <translation>l’ordinateur n’a pas été relancé</translation>
    </message>
    <message>
        <source>would have opened %1</source>
        <extracomment>%1 is the file, document or address a missed alarm would have opened.</extracomment>
        <translation>aurait ouvert %1</translation>
    </message>
    <message numerus="yes">
        <source>Computer will be shutted down in %n seconds</source>
        <translation>
            <numerusform>L’ordinateur sera éteint dans %n seconde</numerusform>
            <numerusform>L’ordinateur sera éteint dans %n secondes</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Computer will be restarted in %n seconds</source>
        <translation>
            <numerusform>L’ordinateur sera redémarré dans %n seconde</numerusform>
            <numerusform>L’ordinateur sera redémarré dans %n secondes</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Computer will be locked in %n seconds</source>
        <translation>
            <numerusform>L’ordinateur sera verrouillé dans %n seconde</numerusform>
            <numerusform>L’ordinateur sera verrouillé dans %n secondes</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Computer will be powered off without saving in %n seconds</source>
        <translation>
            <numerusform>L’ordinateur sera mis hors tension sans enregistrer dans %n seconde</numerusform>
            <numerusform>L’ordinateur sera mis hors tension sans enregistrer dans %n secondes</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Computer will be rebooted without saving in %n seconds</source>
        <translation>
            <numerusform>L’ordinateur sera relancé sans enregistrer dans %n seconde</numerusform>
            <numerusform>L’ordinateur sera relancé sans enregistrer dans %n secondes</numerusform>
        </translation>
    </message>
    <message>
        <source>&amp;Cancel (%1)</source>
        <extracomment>&quot;&amp;&quot; marks the access key; %1 is the number of seconds left.</extracomment>
        <translation>&amp;Annuler (%1)</translation>
    </message>
    <message>
        <source>no alarm sound is installed</source>
        <translation>aucun son d’alarme n’est installé</translation>
    </message>
    <message>
        <source>No sound: %1</source>
        <extracomment>The notice&apos;s status line; %1 says why, such as &quot;no audio output&quot;.</extracomment>
        <translation>Pas de son : %1</translation>
    </message>
    <message>
        <source>Action failed: %1</source>
        <extracomment>The notice&apos;s status line; %1 is the reason the system or the session gave.</extracomment>
        <translation>Échec de l’action : %1</translation>
    </message>
    <message>
        <source>Cannot open %1: %2</source>
        <extracomment>%1 is the file, program or address of an alarm, %2 why it did not open.</extracomment>
        <translation>Impossible d’ouvrir %1 : %2</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>The countdown was cancelled and %1: the computer slept past its end.</source>
        <extracomment>%1 says what did not happen: &quot;the computer was not restarted&quot;.</extracomment>
        <translation>Le compte à rebours a été annulé et %1 : l’ordinateur était en veille au moment où il devait finir.</translation>
    </message>
</context>
<context>
    <name>ovra::AlarmSound</name>
    <message>
        <source>%1 cannot be read</source>
        <extracomment>%1 is the name of a sound file.</extracomment>
        <translation>%1 est illisible</translation>
    </message>
    <message>
        <source>the sound module cannot be loaded</source>
        <translation>le module de son ne peut pas être chargé</translation>
    </message>
    <message>
        <source>%1 cannot be played</source>
        <translation>%1 ne peut pas être lu</translation>
    </message>
    <message>
        <source>no audio output</source>
        <translation>aucune sortie audio</translation>
    </message>
    <message>
        <source>no thread can be started (a process or memory limit)</source>
        <translation>aucun thread ne peut être lancé (une limite de processus ou de mémoire)</translation>
    </message>
    <message>
        <source>%1 is larger than 50 MB</source>
        <extracomment>%1 is the name of a sound file.</extracomment>
        <translation>%1 dépasse 50 Mo</translation>
    </message>
    <message>
        <source>%1 is not a WAV file that can be played</source>
        <extracomment>%1 is the name of a sound file.</extracomment>
        <translation>%1 n’est pas un fichier WAV lisible</translation>
    </message>
    <message>
        <source>%1 is not 8, 16, 24 or 32-bit PCM or 32-bit float</source>
        <extracomment>%1 is the name of a sound file.</extracomment>
        <translation>%1 n’est ni en PCM 8, 16, 24 ou 32 bits ni en virgule flottante 32 bits</translation>
    </message>
    <message>
        <source>%1 has %2 channels, where %3 to %4 can be played</source>
        <extracomment>%1 is the name of a sound file, %2 the channels its header claims, %3 to %4 the channels a sound may have.</extracomment>
        <translation>%1 a %2 canaux, alors que seuls %3 à %4 peuvent être lus</translation>
    </message>
    <message>
        <source>%1 has %2 samples a second, where %3 to %4 can be played</source>
        <extracomment>%1 is the name of a sound file, %2 the samples a second its header claims, %3 to %4 the rates a sound may have.</extracomment>
        <translation>%1 a %2 échantillons par seconde, alors que seuls %3 à %4 peuvent être lus</translation>
    </message>
    <message>
        <source>%1 holds no sound</source>
        <extracomment>%1 is the name of a sound file.</extracomment>
        <translation>%1 ne contient aucun son</translation>
    </message>
</context>
<context>
    <name>ovra::AlarmsPage</name>
    <message>
        <source> - Enabled</source>
        <translation> – Activée</translation>
    </message>
    <message>
        <source> - Disabled</source>
        <translation> – Désactivée</translation>
    </message>
    <message>
        <source>Show Tip</source>
        <translation>Afficher un message</translation>
    </message>
    <message>
        <source>Shut Down Computer</source>
        <translation>Éteindre l’ordinateur</translation>
    </message>
    <message>
        <source>Restart Computer</source>
        <translation>Redémarrer l’ordinateur</translation>
    </message>
    <message>
        <source>Lock Computer</source>
        <translation>Verrouiller l’ordinateur</translation>
    </message>
    <message>
        <source>Power Off Without Saving</source>
        <translation>Éteindre sans enregistrer</translation>
    </message>
    <message>
        <source>Reboot Without Saving</source>
        <translation>Redémarrer sans enregistrer</translation>
    </message>
    <message>
        <source>Excute a file (Exe,Document,Url...)</source>
        <translation>Ouvrir un fichier (programme, document, URL…)</translation>
    </message>
    <message>
        <source>1 Minute</source>
        <translation>1 minute</translation>
    </message>
    <message>
        <source>2 Minutes</source>
        <translation>2 minutes</translation>
    </message>
    <message>
        <source>3 Minutes</source>
        <translation>3 minutes</translation>
    </message>
    <message>
        <source>5 Minutes</source>
        <translation>5 minutes</translation>
    </message>
    <message>
        <source>Loop</source>
        <translation>En boucle</translation>
    </message>
    <message>
        <source>Select a file to be executed by Ovra Clock</source>
        <translation>Choisir un fichier qu’Ovra Clock ouvrira</translation>
    </message>
    <message>
        <source>&amp;Tip (256 characters maximum) :</source>
        <translation>M&amp;essage (256 caractères au plus) :</translation>
    </message>
    <message>
        <source>Parame&amp;ter (256 characters maximum) :</source>
        <translation>Paramètr&amp;e (256 caractères au plus) :</translation>
    </message>
    <message>
        <source> Add Alarm: </source>
        <translation> Ajouter une alarme : </translation>
    </message>
    <message>
        <source> Manage Alarms: </source>
        <translation> Gérer les alarmes : </translation>
    </message>
    <message>
        <source>A&amp;dd</source>
        <translation>A&amp;jouter</translation>
    </message>
    <message>
        <source>&amp;Browse</source>
        <translation>Parcour&amp;ir</translation>
    </message>
    <message>
        <source>D&amp;elete</source>
        <translation>S&amp;upprimer</translation>
    </message>
    <message>
        <source>E&amp;nable</source>
        <translation>Acti&amp;ver</translation>
    </message>
    <message>
        <source>Disab&amp;le</source>
        <translation>Désac&amp;tiver</translation>
    </message>
    <message>
        <source>Select a sound file</source>
        <translation>Choisir un fichier son</translation>
    </message>
    <message>
        <source>(H:)</source>
        <translation>(h :)</translation>
    </message>
    <message>
        <source>(M:)</source>
        <translation>(min :)</translation>
    </message>
    <message>
        <source>Ala&amp;rm Time:</source>
        <translation>Heure de &amp;l’alarme :</translation>
    </message>
    <message>
        <source>Days:</source>
        <translation>Jours :</translation>
    </message>
    <message>
        <source>Act&amp;ion:</source>
        <translation>A&amp;ction :</translation>
    </message>
    <message>
        <source>&amp;Sound:</source>
        <translation>&amp;Son :</translation>
    </message>
    <message>
        <source>Pla&amp;ytime:</source>
        <translation>&amp;Durée du son :</translation>
    </message>
    <message>
        <source>Please check at least one day for the alarm.</source>
        <translation>Veuillez cocher au moins un jour pour l’alarme.</translation>
    </message>
    <message>
        <source>Alarm is already exists. Please check and reset.</source>
        <translation>Cette alarme existe déjà. Veuillez vérifier et la modifier.</translation>
    </message>
    <message>
        <source>This clock already has %1 alarms, as many as it can keep. Delete an alarm before adding another.</source>
        <translation>Cette horloge a déjà %1 alarmes, autant qu’elle peut en garder. Supprimez une alarme avant d’en ajouter une autre.</translation>
    </message>
    <message>
        <source>WAV sounds</source>
        <translation>Sons WAV</translation>
    </message>
    <message>
        <source>All files</source>
        <translation>Tous les fichiers</translation>
    </message>
    <message>
        <source>AM%1 (%2)</source>
        <extracomment>An hour of the alarm&apos;s hour list: %1 on the twelve-hour clock, %2 on the 24-hour one.</extracomment>
        <translation>%2 h (%1 AM)</translation>
    </message>
    <message>
        <source>PM%1 (%2)</source>
        <translation>%2 h (%1 PM)</translation>
    </message>
    <message>
        <source>Default Alarm Sound</source>
        <extracomment>What the sound box shows for the alarm sound that comes with the clock; the alarm file keeps &quot;Default Alarm Sound&quot;.</extracomment>
        <translation>Son d’alarme par défaut</translation>
    </message>
</context>
<context>
    <name>ovra::AlphaDialog</name>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>Set Color Alpha Value</source>
        <translation>Régler l’opacité de la couleur</translation>
    </message>
    <message>
        <source>Transparent</source>
        <translation>Transparent</translation>
    </message>
    <message>
        <source>Opaque</source>
        <translation>Opaque</translation>
    </message>
    <message>
        <source>Alpha Value: %1</source>
        <translation>Opacité : %1</translation>
    </message>
</context>
<context>
    <name>ovra::AppearancePage</name>
    <message>
        <source>&amp;Hour Circle Width(10 ~ 50):</source>
        <translation>Largeur de l’anneau des heures (&amp;10 ~ 50) :</translation>
    </message>
    <message>
        <source>Minute Circle &amp;Width(10 ~ 50):</source>
        <translation>Largeur de l’anneau des m&amp;inutes (10 ~ 50) :</translation>
    </message>
    <message>
        <source>S&amp;econd Circle Width(10 ~ 50):</source>
        <translation>Largeur de l’anneau des secondes (10 ~ &amp;50) :</translation>
    </message>
    <message>
        <source>Clock Ra&amp;dius(48 ~ 128):</source>
        <translation>Rayon &amp;de l’horloge (48 ~ 128) :</translation>
    </message>
    <message>
        <source> Appearance: </source>
        <translation> Apparence : </translation>
    </message>
    <message>
        <source>AM Hour/24 Hour C&amp;ircle Color:</source>
        <translation>Couleur de l’anneau des heures (AM/&amp;24 h) :</translation>
    </message>
    <message>
        <source>PM Hour Circ&amp;le Color:</source>
        <translation>Couleur de l’a&amp;nneau des heures (PM) :</translation>
    </message>
    <message>
        <source>Minu&amp;te Circle Color:</source>
        <translation>Coul&amp;eur de l’anneau des minutes :</translation>
    </message>
    <message>
        <source>&amp;Second Circle Color:</source>
        <translation>Couleur de l’anneau des &amp;secondes :</translation>
    </message>
    <message>
        <source>Time &amp;Font Color:</source>
        <translation>Couleur du &amp;texte de l’heure :</translation>
    </message>
    <message>
        <source>Date Fo&amp;nt Color:</source>
        <translation>Co&amp;uleur du texte de la date :</translation>
    </message>
    <message>
        <source>Cloc&amp;k Dial Scale Color:</source>
        <translation>&amp;Couleur de la graduation :</translation>
    </message>
</context>
<context>
    <name>ovra::ClockAccessible</name>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Paramètres</translation>
    </message>
    <message>
        <source>Move</source>
        <translation>Déplacer</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <extracomment>The clock&apos;s time and date as a screen reader speaks them: %1 the time, %2 the date.</extracomment>
        <translation>%1, %2</translation>
    </message>
</context>
<context>
    <name>ovra::ClockWindow</name>
    <message>
        <source>&amp;Settings…</source>
        <translation>&amp;Paramètres…</translation>
    </message>
    <message>
        <source>Always on &amp;Top</source>
        <translation>&amp;Toujours au premier plan</translation>
    </message>
    <message>
        <source>Show Sc&amp;ale</source>
        <translation>Afficher la &amp;graduation</translation>
    </message>
    <message>
        <source>A&amp;bout…</source>
        <translation>À pr&amp;opos…</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Fermer</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Paramètres</translation>
    </message>
    <message>
        <source>Move</source>
        <translation>Déplacer</translation>
    </message>
</context>
<context>
    <name>ovra::ClocksPage</name>
    <message>
        <source> Add Clock: </source>
        <translation> Ajouter une horloge : </translation>
    </message>
    <message>
        <source> Manage Clocks: </source>
        <translation> Gérer les horloges : </translation>
    </message>
    <message>
        <source>A&amp;dd</source>
        <translation>A&amp;jouter</translation>
    </message>
    <message>
        <source>D&amp;elete</source>
        <translation>&amp;Supprimer</translation>
    </message>
    <message>
        <source>&amp;Run</source>
        <translation>&amp;Lancer</translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation>Arrê&amp;ter</translation>
    </message>
    <message>
        <source>Re&amp;fresh</source>
        <translation>Actualis&amp;er</translation>
    </message>
    <message>
        <source>Select Time &amp;Zone:</source>
        <translation>&amp;Fuseau horaire :</translation>
    </message>
    <message>
        <source>Display &amp;Name:</source>
        <translation>&amp;Nom affiché :</translation>
    </message>
    <message>
        <source>%1 -- Running</source>
        <extracomment>%1 is a clock&apos;s name.</extracomment>
        <translation>%1 -- En marche</translation>
    </message>
    <message>
        <source>%1 -- Stopped</source>
        <extracomment>%1 is a clock&apos;s name.</extracomment>
        <translation>%1 -- Arrêtée</translation>
    </message>
    <message>
        <source>Find a P&amp;lace:</source>
        <translation>Rechercher un lie&amp;u :</translation>
    </message>
    <message>
        <source>Add Clock</source>
        <extracomment>The name box&apos;s text before a name is chosen; Add takes it as it stands.</extracomment>
        <translation>Ajouter une horloge</translation>
    </message>
</context>
<context>
    <name>ovra::ColourRow</name>
    <message>
        <source>Choose a colour and its alpha</source>
        <translation>Choisir une couleur et son opacité</translation>
    </message>
</context>
<context>
    <name>ovra::DesktopShellOpen</name>
    <message>
        <source>no such file</source>
        <translation>fichier introuvable</translation>
    </message>
    <message>
        <source>no application opens it</source>
        <translation>aucune application ne l’ouvre</translation>
    </message>
    <message>
        <source>xdg-open failed with status %1</source>
        <extracomment>%1 is the exit status of xdg-open.</extracomment>
        <translation>xdg-open a échoué avec le code %1</translation>
    </message>
    <message>
        <source>it cannot be started</source>
        <translation>il ne peut pas être lancé</translation>
    </message>
    <message>
        <source>xdg-open is not installed</source>
        <translation>xdg-open n’est pas installé</translation>
    </message>
</context>
<context>
    <name>ovra::GeneralPage</name>
    <message>
        <source> General: </source>
        <translation> Général : </translation>
    </message>
    <message>
        <source>No</source>
        <translation>Non</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Oui</translation>
    </message>
    <message>
        <source>12 Hour</source>
        <translation>12 heures</translation>
    </message>
    <message>
        <source>24 Hour</source>
        <translation>24 heures</translation>
    </message>
    <message>
        <source>Standard Time</source>
        <translation>Heure normale</translation>
    </message>
    <message>
        <source>Daylight Saving Time</source>
        <translation>Heure d’été</translation>
    </message>
    <message>
        <source>Automatic Daylight Saving</source>
        <translation>Heure d’été automatique</translation>
    </message>
    <message>
        <source>Clock Always On &amp;Top:</source>
        <translation>Horloge &amp;toujours au premier plan :</translation>
    </message>
    <message>
        <source>Display Clock &amp;Scale:</source>
        <translation>Aff&amp;icher la graduation :</translation>
    </message>
    <message>
        <source>Bac&amp;kground Opacity:</source>
        <translation>Opacité &amp;du fond :</translation>
    </message>
    <message>
        <source>Time &amp;Format:</source>
        <translation>&amp;Format de l’heure :</translation>
    </message>
    <message>
        <source>Time Stan&amp;dard:</source>
        <translation>H&amp;eure légale :</translation>
    </message>
    <message>
        <source>Start at &amp;Login:</source>
        <translation>Lancer à l’ouverture de &amp;session :</translation>
    </message>
</context>
<context>
    <name>ovra::LoadedAlarmSound</name>
    <message>
        <source>not found in %1</source>
        <translation>introuvable dans %1</translation>
    </message>
    <message>
        <source>Alarms stay silent: the sound module %1 cannot be loaded (%2).</source>
        <translation>Les alarmes resteront muettes : le module sonore %1 ne peut pas être chargé (%2).</translation>
    </message>
    <message>
        <source>An alarm stays silent: no thread can be started (a process or memory limit).</source>
        <translation>Une alarme reste muette : aucun thread ne peut être lancé (une limite de processus ou de mémoire).</translation>
    </message>
    <message>
        <source>%1 has no %2: it belongs to another version</source>
        <translation>%1 n’a pas de %2 : il appartient à une autre version</translation>
    </message>
</context>
<context>
    <name>ovra::PowerControl</name>
    <message>
        <source>%1 does not answer</source>
        <extracomment>%1 names a system service, such as logind or a session manager.</extracomment>
        <translation>%1 ne répond pas</translation>
    </message>
</context>
<context>
    <name>ovra::SettingsDialog</name>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>Abo&amp;ut</source>
        <translation>À &amp;propos</translation>
    </message>
    <message>
        <source>&amp;Apply</source>
        <translation>&amp;Appliquer</translation>
    </message>
    <message>
        <source>A&amp;ppearance</source>
        <translation>Appa&amp;rence</translation>
    </message>
    <message>
        <source>&amp;Clocks</source>
        <translation>&amp;Horloges</translation>
    </message>
    <message>
        <source>Alar&amp;ms</source>
        <translation>Alar&amp;mes</translation>
    </message>
    <message>
        <source>&amp;General</source>
        <translation>&amp;Général</translation>
    </message>
    <message>
        <source>Ovra Clock Configuration</source>
        <translation>Ovra Clock – Paramètres</translation>
    </message>
    <message>
        <source>&amp;Restore Default Settings</source>
        <translation>Rétablir &amp;les paramètres par défaut</translation>
    </message>
    <message>
        <source>Time zone: %1</source>
        <extracomment>%1 is a zone as the zone list shows it.</extracomment>
        <translation>Fuseau horaire : %1</translation>
    </message>
    <message>
        <source>%1 - %2</source>
        <extracomment>A window&apos;s title and the clock it belongs to; the dash the language&apos;s titles use.</extracomment>
        <translation>%1 – %2</translation>
    </message>
</context>
<context>
    <name>ovra::ShellTarget</name>
    <message>
        <source>it cannot be looked at</source>
        <translation>il est impossible de l’examiner</translation>
    </message>
    <message>
        <source>it is a program of another user</source>
        <translation>c’est un programme d’un autre utilisateur</translation>
    </message>
    <message>
        <source>other users may change it</source>
        <translation>d’autres utilisateurs peuvent le modifier</translation>
    </message>
    <message>
        <source>its folder %1 cannot be looked at</source>
        <extracomment>%1 is a folder.</extracomment>
        <translation>son dossier %1 ne peut pas être examiné</translation>
    </message>
    <message>
        <source>its folder %1 belongs to another user</source>
        <extracomment>%1 is a folder.</extracomment>
        <translation>son dossier %1 appartient à un autre utilisateur</translation>
    </message>
    <message>
        <source>other users may change its folder %1</source>
        <extracomment>%1 is a folder.</extracomment>
        <translation>d’autres utilisateurs peuvent modifier son dossier %1</translation>
    </message>
    <message>
        <source>a file: address needs the file&apos;s absolute path</source>
        <translation>une adresse file: doit donner le chemin absolu du fichier</translation>
    </message>
</context>
<context>
    <name>ovra::ZonePicker</name>
    <message>
        <source>Now UTC%1, %2 %3</source>
        <extracomment>%1 is the offset from UTC (&quot;+13:00&quot;), %2 a weekday and %3 a time (&quot;03:29&quot;).</extracomment>
        <translation>Maintenant UTC%1, %2 %3</translation>
    </message>
    <message>
        <source>City, country or zone name</source>
        <translation>Ville, pays ou nom de fuseau</translation>
    </message>
    <message>
        <source>%1 (now %2)</source>
        <extracomment>A place found by typing: %1 is the place, %2 its offset from UTC now.</extracomment>
        <translation>%1 (maintenant %2)</translation>
    </message>
</context>
</TS>
