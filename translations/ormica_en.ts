<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ru">
<context>
    <name>AutoFill</name>
    <message>
        <source>Размер изображения больше чем %1 пикселей<byte value="xd"/>
Автозаполнение массива для обработки изображений может<byte value="xd"/>
резко увеличить время выполнения большинства операций.<byte value="xd"/>
Выполнить заполнение массива для обработки изображений?</source>
        <translation>The picture is larger than %1 pixels<byte value="xd"/>
Filling the processing array automatically may<byte value="xd"/>
greatly slow down most operations.<byte value="xd"/>
Fill the processing array?</translation>
    </message>
</context>
<context>
    <name>BmpFile</name>
    <message>
        <source>Файл &quot;%1&quot; не является правильным BMP-файлом.</source>
        <translation>The file &quot;%1&quot; is not a valid BMP file.</translation>
    </message>
    <message>
        <source>Недостаточно памяти для изображения.</source>
        <translation>Not enough memory for the picture.</translation>
    </message>
    <message>
        <source>Неизвестная раскладка пикселей.</source>
        <translation>Unknown pixel layout.</translation>
    </message>
    <message>
        <source>Не могу прочитать BMP-файл &quot;%1&quot;.<byte value="xd"/>
%2</source>
        <translation>Cannot read the BMP file &quot;%1&quot;.<byte value="xd"/>
%2</translation>
    </message>
    <message>
        <source>Файл обрывается раньше, чем кончаются пиксели.</source>
        <translation>The file ends before the pixels do.</translation>
    </message>
    <message>
        <source>Недостаточно памяти для изображения &quot;%1&quot;.</source>
        <translation>Not enough memory for the picture &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>Не могу прочитать BMP-файл &quot;%1&quot;.<byte value="xd"/>
Пиксели начинаются внутри палитры: палитра короче, чем требует формат пикселя %2.</source>
        <translation>Cannot read the BMP file &quot;%1&quot;.<byte value="xd"/>
The pixels start inside the palette: the palette is shorter than pixel format %2 needs.</translation>
    </message>
    <message>
        <source>Не могу прочитать BMP-файл &quot;%1&quot;.<byte value="xd"/>
Файл обрывается раньше, чем кончаются пиксели: %2 байт вместо %3.</source>
        <translation>Cannot read the BMP file &quot;%1&quot;.<byte value="xd"/>
The file ends before the pixels do: %2 bytes instead of %3.</translation>
    </message>
    <message>
        <source>Не могу открыть файл &quot;%1&quot;.</source>
        <translation>Cannot open the file &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>Не могу прочитать BMP-файл &quot;%1&quot;.<byte value="xd"/>
Изображения с форматом пикселя %2 читаются размером не более 16384 x 16384 пикселей.</source>
        <translation>Cannot read the BMP file &quot;%1&quot;.<byte value="xd"/>
Pictures of pixel format %2 are read up to 16384 x 16384 pixels only.</translation>
    </message>
</context>
<context>
    <name>Cli</name>
    <message>
        <source>%1: %2 (см. ormica-cli help %1)</source>
        <translation>%1: %2 (see ormica-cli help %1)</translation>
    </message>
    <message>
        <source>--%1 требует %2</source>
        <translation>--%1 takes %2</translation>
    </message>
    <message>
        <source>--%1 требует %2, один раз</source>
        <translation>--%1 takes %2, once</translation>
    </message>
    <message>
        <source>неверное число аргументов; вызов: ormica-cli %1 %2</source>
        <translation>wrong number of arguments; usage: ormica-cli %1 %2</translation>
    </message>
    <message>
        <source>вызов: ormica-cli %1 %2</source>
        <translation>usage: ormica-cli %1 %2</translation>
    </message>
    <message>
        <source>%1 или %2</source>
        <translation>%1 or %2</translation>
    </message>
    <message>
        <source>--ready принимает одно из значений %1</source>
        <translation>--ready is one of %1</translation>
    </message>
    <message>
        <source>%1: нужно целое число, а не &quot;%2&quot;</source>
        <translation>%1 must be a whole number, not &quot;%2&quot;</translation>
    </message>
    <message>
        <source>%1: нужно конечное число с десятичной точкой, а не &quot;%2&quot;</source>
        <translation>%1 must be a finite number with a decimal point, not &quot;%2&quot;</translation>
    </message>
    <message>
        <source>--quality принимает целое число от 1 до 100</source>
        <translation>--quality takes a whole number from 1 to 100</translation>
    </message>
    <message>
        <source>не файл: %1</source>
        <translation>not a file: %1</translation>
    </message>
    <message>
        <source>нет такого файла: %1</source>
        <translation>no such file: %1</translation>
    </message>
    <message>
        <source>не изображение в формате, который читает программа: %1</source>
        <translation>not a picture this program reads: %1</translation>
    </message>
    <message>
        <source>по имени нельзя определить тип выходного файла (используйте %1): %2</source>
        <translation>cannot tell the output type from the name (use %1): %2</translation>
    </message>
    <message>
        <source>нечего записывать в %1</source>
        <translation>nothing to write to %1</translation>
    </message>
    <message>
        <source>изображение не удалось поместить в массив: %1</source>
        <translation>the picture could not be put into an array: %1</translation>
    </message>
    <message>
        <source>операция не дала изображения</source>
        <translation>the operation gave no picture</translation>
    </message>
    <message>
        <source>из результата не удалось сделать изображение</source>
        <translation>the result could not be made into a picture</translation>
    </message>
    <message>
        <source>предупреждение: %1</source>
        <translation>warning: %1</translation>
    </message>
    <message>
        <source>ошибка: %1</source>
        <translation>error: %1</translation>
    </message>
    <message>
        <source>вопрос, ответ «Нет»: %1</source>
        <translation>question answered No: %1</translation>
    </message>
    <message>
        <source>не удаётся записать стандартный вывод: %1</source>
        <translation>cannot write the standard output: %1</translation>
    </message>
    <message>
        <source>не удаётся записать стандартный вывод</source>
        <translation>cannot write the standard output</translation>
    </message>
    <message>
        <source>help принимает одно имя команды; их список выводит ormica-cli help</source>
        <translation>help takes one command name; ormica-cli help lists them</translation>
    </message>
    <message>
        <source>неизвестная команда &quot;%1&quot;; список команд выводит ormica-cli help</source>
        <translation>unknown command &quot;%1&quot;; ormica-cli help lists the commands</translation>
    </message>
    <message>
        <source>недостаточно памяти</source>
        <translation>not enough memory</translation>
    </message>
</context>
<context>
    <name>CliExplain</name>
    <message>
        <source>назовите операцию для пояснения: %1</source>
        <translation>name the operation to explain: %1</translation>
    </message>
    <message>
        <source>нужен параметр --pixel X Y</source>
        <translation>--pixel X Y is required</translation>
    </message>
    <message>
        <source>&quot;%1&quot; не поясняется; поясняются операции %2</source>
        <translation>&quot;%1&quot; cannot be explained; the operations are %2</translation>
    </message>
    <message>
        <source>операция не дала изображения для пояснения</source>
        <translation>the operation gave no picture to explain</translation>
    </message>
    <message>
        <source>шаги не приводят к записанному пикселю</source>
        <translation>the steps do not arrive at the pixel written</translation>
    </message>
</context>
<context>
    <name>CliFdb</name>
    <message>
        <source>нет такой базы фильтров: %1</source>
        <translation>no such filter base: %1</translation>
    </message>
    <message>
        <source>не удаётся открыть базу фильтров %1</source>
        <translation>cannot open the filter base %1</translation>
    </message>
    <message>
        <source>номер записи</source>
        <translation>the record number</translation>
    </message>
    <message>
        <source>в %1 нет записи %2: записей в ней %3 (0 .. %4)</source>
        <translation>%1 has no record %2: it holds %3 (0 .. %4)</translation>
    </message>
    <message>
        <source>не удаётся прочитать запись %1 из %2</source>
        <translation>cannot read record %1 of %2</translation>
    </message>
    <message>
        <source>нужен параметр --name</source>
        <translation>--name is required</translation>
    </message>
    <message>
        <source>укажите ровно один из параметров --ready и --kernel</source>
        <translation>give exactly one of --ready and --kernel</translation>
    </message>
    <message>
        <source>--type принимает 0 .. 3 (%1)</source>
        <translation>--type is 0 .. 3 (%1)</translation>
    </message>
    <message>
        <source>--scale должен быть не меньше 1</source>
        <translation>--scale must be at least 1</translation>
    </message>
</context>
<context>
    <name>CliFilter</name>
    <message>
        <source>%1 принимает целое число от -10 до 10</source>
        <translation>%1 takes a whole number from -10 to 10</translation>
    </message>
    <message>
        <source>изображение не удалось поместить в массив: %1</source>
        <translation>the picture could not be put into an array: %1</translation>
    </message>
    <message>
        <source>изображение не удалось поместить в цветовой массив: %1</source>
        <translation>the picture could not be put into a colour array: %1</translation>
    </message>
    <message>
        <source>укажите ровно один из параметров --ready, --kernel и --fdb</source>
        <translation>give exactly one of --ready, --kernel and --fdb</translation>
    </message>
    <message>
        <source>--fdb и --record задаются вместе</source>
        <translation>--fdb and --record go together</translation>
    </message>
    <message>
        <source>--scale задаёт масштаб вручную, а регуляторы --focus и --light вычисляют его сами</source>
        <translation>--scale sets the scale by hand; the regulators --focus and --light derive it</translation>
    </message>
    <message>
        <source>фокус %1: центр %2, масштаб %3</source>
        <translation>focus %1: centre %2, scale %3</translation>
    </message>
    <message>
        <source>яркость %1: масштаб %2</source>
        <translation>light %1: scale %2</translation>
    </message>
    <message>
        <source>укажите ровно один из параметров --ready и --kernel</source>
        <translation>give exactly one of --ready and --kernel</translation>
    </message>
    <message>
        <source>--size принимает целое число от 2 до 1024</source>
        <translation>--size takes a whole number from 2 to 1024</translation>
    </message>
</context>
<context>
    <name>CliHelp</name>
    <message>
        <source>BMP, либо JPEG, PNG, TIFF или WebP, определяемый по расширению.</source>
        <translation>A BMP, or a JPEG, PNG, TIFF or WebP named by its extension.</translation>
    </message>
    <message>
        <source>Показывает эту справку и завершает работу.</source>
        <translation>Shows this help and exits.</translation>
    </message>
    <message>
        <source>Качество JPEG или WebP 1..100 для OUT с расширением .jpg, .jpeg или .webp (по умолчанию 100; WebP при 100 — без потерь).</source>
        <translation>JPEG or WebP quality 1..100 for a .jpg, .jpeg or .webp OUT (100 unless given; WebP at 100 is lossless).</translation>
    </message>
    <message>
        <source>широкое</source>
        <translation>wide</translation>
    </message>
    <message>
        <source>нормальное</source>
        <translation>normal</translation>
    </message>
    <message>
        <source>узкое</source>
        <translation>narrow</translation>
    </message>
    <message>
        <source>Готовое ядро: %1 (повышение резкости: %2) или %3 (сглаживание: %4).</source>
        <translation>A ready-made kernel: %1 (sharpening: %2) or %3 (smoothing: %4).</translation>
    </message>
    <message>
        <source>Выполняет операцию над IN, как её собственная команда, но вместо записи OUT выводит, как получился пиксель X, Y результата: по шагу в строке (метка: формула = числа), в конце строка &quot;result&lt;TAB&gt;B&lt;TAB&gt;G&lt;TAB&gt;R&quot;. Код выхода 1, если шаги не приводят к записанному пикселю.</source>
        <translation>Runs the operation on IN as its own command does, but instead of writing OUT prints how pixel X, Y of the result came about, one step a line (label: formula = numbers), ending with the line &quot;result&lt;TAB&gt;B&lt;TAB&gt;G&lt;TAB&gt;R&quot;. Exit status 1 when the steps do not arrive at the pixel written.</translation>
    </message>
    <message>
        <source>grey, mirror, rot90, rotate, crop, scale, filter или transfer, а за ней её собственные аргументы и параметры без OUT.</source>
        <translation>grey, mirror, rot90, rotate, crop, scale, filter or transfer, followed by its own arguments and options without OUT.</translation>
    </message>
    <message>
        <source>Пиксель результата: столбец X и строка Y от 0 (обязателен).</source>
        <translation>The pixel of the result: column X and row Y from 0 (required).</translation>
    </message>
    <message>
        <source>Вывести пояснение в JSON вместо текста.</source>
        <translation>Print the explanation as JSON instead of text.</translation>
    </message>
    <message>
        <source>База фильтров: файл .fdb из записей по 453 байта.</source>
        <translation>The filter base: a .fdb file of 453-byte records.</translation>
    </message>
    <message>
        <source>Номер записи — её позиция в файле от 0.</source>
        <translation>The record&apos;s number, its position in the file from 0.</translation>
    </message>
    <message>
        <source>Выводит записи базы фильтров, по строке на запись, через табуляцию: номер, состояние (1 рабочая, 0 удалённая), тип, масштаб, имя. Управляющие символы в текстах (табуляции, переводы строк) выводятся пробелами. Запись, которая хранит не тот номер, что её позиция (повреждённая база), получает шестое поле: &quot;stored number&quot; и этот номер.</source>
        <translation>Lists the records of a filter base, one line each, tab-separated: number, status (1 working, 0 deleted), type, scale, name. Control characters in texts (tabs, line breaks) are shown as blanks. A record that stores another number than its position (a damaged base) gets a sixth field, &quot;stored number&quot; and that number.</translation>
    </message>
    <message>
        <source>Показывает одну запись: строки name, type, scale, семь строк row по 7 весов, comment1, comment2, каждая начинается своим ключом и табуляцией; последняя строка &quot;stored number&quot; — если запись хранит не тот номер, что её позиция N.</source>
        <translation>Shows one record: lines name, type, scale, seven row lines of 7 weights, comment1, comment2, each beginning with its key and a tab; a last line &quot;stored number&quot; when the record stores another number than its position N.</translation>
    </message>
    <message>
        <source>Добавляет рабочую запись (если FILE нет, сначала создаётся пустая база) и выводит её номер. Тексты хранятся в Windows-1251, не длиннее 80 символов.</source>
        <translation>Appends a working record, making an empty base first when FILE does not exist, and prints its number. Texts are kept in Windows-1251, 80 characters at most.</translation>
    </message>
    <message>
        <source>Имя фильтра.</source>
        <translation>The filter&apos;s name.</translation>
    </message>
    <message>
        <source>Текстовый файл из 49 целых чисел: 7 строк по 7, первой идёт строка 0.</source>
        <translation>A text file of 49 whole numbers: 7 rows of 7, row 0 first.</translation>
    </message>
    <message>
        <source>Масштаб, не меньше 1 (по умолчанию — сумма весов или 1, если она не положительна).</source>
        <translation>The scale, at least 1 (default: the weight sum, or 1 when that is not positive).</translation>
    </message>
    <message>
        <source>Тип фильтра: 0 не определён (по умолчанию), 1 сглаживание, 2 повышение резкости, 3 специальный.</source>
        <translation>The filter type: 0 undefined (default), 1 smoothing, 2 sharpening, 3 special.</translation>
    </message>
    <message>
        <source>Первая строка комментария.</source>
        <translation>The first comment line.</translation>
    </message>
    <message>
        <source>Вторая строка комментария.</source>
        <translation>The second comment line.</translation>
    </message>
    <message>
        <source>Помечает запись N удалённой, на месте; длина файла не меняется. В запись заносится номер N.</source>
        <translation>Marks record N deleted, in place; the file keeps its length. The record is written with N as its number.</translation>
    </message>
    <message>
        <source>Снова помечает запись N рабочей, на месте. В запись заносится номер N.</source>
        <translation>Marks record N working again, in place. The record is written with N as its number.</translation>
    </message>
    <message>
        <source>Копирует рабочие записи в NEWFILE (с добавлением &quot;.fdb&quot;, если имя так не кончается), нумеруя их заново с 0, как &quot;Сохранить как&quot; окна базы фильтров; выводит имя записанного файла. Никогда не пишет поверх FILE или другого существующего файла.</source>
        <translation>Copies the working records into NEWFILE (&quot;.fdb&quot; appended unless it ends so), numbered anew from 0, as the database window&apos;s save-as does; prints the name written. Never writes over FILE or over another existing file.</translation>
    </message>
    <message>
        <source>Создаваемая копия.</source>
        <translation>The copy to make.</translation>
    </message>
    <message>
        <source>Текстовый файл из 49 целых чисел, разделённых пробелами, табуляциями или концами строк: 7 строк по 7, первой идёт строка 0.</source>
        <translation>A text file of 49 whole numbers separated by blanks, tabs or line ends: 7 rows of 7, row 0 first.</translation>
    </message>
    <message>
        <source>Масштаб, на который делятся взвешенные суммы (по умолчанию — сумма весов). Меньше 1 не принимается.</source>
        <translation>The scale that divides the weighted sums (default: the weight sum). Below 1 is refused.</translation>
    </message>
    <message>
        <source>Свёртывает изображение с фильтром 7 x 7, как команда окна фильтра для всего изображения: рамка шириной в три пикселя умножается на коэффициент усиления фильтра, внутренняя часть свёртывается, результаты вне диапазона вписываются в него с сохранением цветового тона.</source>
        <translation>Convolves a picture with a 7 x 7 filter as the filter window&apos;s whole-image command does: a border three pixels wide multiplied by the filter&apos;s gain, the interior convolved, results out of range fitted with their hue kept.</translation>
    </message>
    <message>
        <source>Записываемое изображение.</source>
        <translation>The picture to write.</translation>
    </message>
    <message>
        <source>База фильтров (.fdb): ядро записи --record, как его берёт окно фильтра.</source>
        <translation>A filter base (.fdb): the kernel of record --record, as the filter window takes it.</translation>
    </message>
    <message>
        <source>Запись из --fdb, её позиция в файле от 0.</source>
        <translation>The record of --fdb, its position in the file from 0.</translation>
    </message>
    <message>
        <source>Положение регулятора фокуса, -10 .. 10: меняет центральный вес и масштаб.</source>
        <translation>The focus regulator&apos;s position, -10 .. 10: changes the centre weight and the scale.</translation>
    </message>
    <message>
        <source>Положение регулятора яркости, -10 .. 10, действует после --focus: меняет масштаб.</source>
        <translation>The brightness regulator&apos;s position, -10 .. 10, applied after --focus: changes the scale.</translation>
    </message>
    <message>
        <source>Выводит частотную характеристику фильтра, как её показывает окно фильтра: модуль дискретного преобразования Фурье ядра, делённый на масштаб, — N строк по N значений через табуляцию. Строка i, значение j соответствуют частотам v = (i - N/2)/N и u = (j - N/2)/N в периодах на пиксель, так что нулевой частоте, где значение равно коэффициенту усиления яркости, отвечают строка N/2, значение N/2 (оба считая от 0).</source>
        <translation>Prints the filter&apos;s frequency response as the filter window shows it: the magnitude of the kernel&apos;s discrete Fourier transform divided by the scale, N lines of N tab-separated values. Line i, value j stand for the frequencies v = (i - N/2)/N and u = (j - N/2)/N in cycles per pixel, so that zero frequency, whose value is the brightness gain, is line N/2, value N/2 (both from 0).</translation>
    </message>
    <message>
        <source>Число частот по каждой оси, 2 .. 1024 (по умолчанию 64).</source>
        <translation>The number of frequencies along each axis, 2 .. 1024 (default 64).</translation>
    </message>
    <message>
        <source>Гистограммы красного, зелёного, синего и Light (яркости): число точек, число чёрных и белых точек, затем для каждого канала среднее, дисперсия, среднеквадратичное отклонение и наибольший счёт, через табуляцию.</source>
        <translation>Histograms of red, green, blue and Light: the point count, black and white points, then for each channel mean, variance, standard deviation and the largest count, tab-separated.</translation>
    </message>
    <message>
        <source>Вывести также 256 счётчиков каждого канала, затем 256 высот столбиков (0 .. 236).</source>
        <translation>Also print the 256 counts of each channel, then the 256 bar heights (0 .. 236).</translation>
    </message>
    <message>
        <source>Статистика одной строки или столбца фрагмента, как её считает вкладка фрагмента окна гистограмм: n, среднее и дисперсия выборки, затем среднее и дисперсия Light по всему фрагменту; в строке имя и значение через табуляцию. С --auto или --conv — ещё по строке на каждый элемент результата корреляции: сдвиг (-(N + 1) .. N + 1) и значение. Дробные числа выводятся с 17 значащими цифрами и десятичной точкой.</source>
        <translation>Statistics of one row or column of a fragment, as the fragment tab of the histogram window computes them: n, mean and variance of the sample, then mean and variance of Light over the whole fragment, one tab-separated name and value a line. With --auto or --conv, one more line per entry of the correlation result: the lag (-(N + 1) .. N + 1) and the value. Reals have 17 significant digits and a decimal point.</translation>
    </message>
    <message>
        <source>Фрагмент: углы включительно, в любом порядке, обрезается по изображению, затем берётся не более 287 x 167 пикселей от его левого верхнего угла, как копирует главное окно.</source>
        <translation>The fragment: corners included, in any order, clipped to the picture, then at most 287 x 167 pixels from its top-left corner, as the main window copies it.</translation>
    </message>
    <message>
        <source>Выборка — строка Y фрагмента (0 — его верхняя строка).</source>
        <translation>Sample row Y of the fragment (0 = its top row).</translation>
    </message>
    <message>
        <source>Выборка — столбец X фрагмента (0 — его левый столбец).</source>
        <translation>Sample column X of the fragment (0 = its left column).</translation>
    </message>
    <message>
        <source>Канал выборки; по умолчанию L (неокруглённая Light).</source>
        <translation>The channel of the sample; L (unrounded Light) by default.</translation>
    </message>
    <message>
        <source>Также автокорреляция, делённая на дисперсию, если та не 0.</source>
        <translation>Also the autocorrelation, divided by the variance when it is not 0.</translation>
    </message>
    <message>
        <source>Также скользящая сумма произведений с Func(X) = 1, X, 1 - X или Rect; без деления.</source>
        <translation>Also the sliding sum of products with Func(X) = 1, X, 1 - X or Rect; not divided.</translation>
    </message>
    <message>
        <source>Изображения</source>
        <translation>Pictures</translation>
    </message>
    <message>
        <source>Гистограммы</source>
        <translation>Histograms</translation>
    </message>
    <message>
        <source>Функции преобразования яркости</source>
        <translation>Transfer functions</translation>
    </message>
    <message>
        <source>Цифровой фильтр</source>
        <translation>Digital filter</translation>
    </message>
    <message>
        <source>База фильтров</source>
        <translation>Filter database</translation>
    </message>
    <message>
        <source>Текстовые изображения</source>
        <translation>Text images</translation>
    </message>
    <message>
        <source>Пояснение пикселя</source>
        <translation>Explain a pixel</translation>
    </message>
    <message>
        <source>вызов: ormica-cli COMMAND ARGUMENTS...
       ormica-cli help [COMMAND]    (или ormica-cli COMMAND --help)
</source>
        <translation>usage: ormica-cli COMMAND ARGUMENTS...
       ormica-cli help [COMMAND]    (or ormica-cli COMMAND --help)
</translation>
    </message>
    <message>
        <source>
OUT записывается в формате, который задаёт его расширение: %1. Дробные числа пишутся с десятичной точкой.
Код выхода: 0 — выполнено, 1 — файл нельзя использовать или операция не удалась, 2 — неверная командная строка.
</source>
        <translation>
OUT is written as its extension says: %1. Numbers use a decimal point.
Exit status: 0 done, 1 a file that cannot be used or a failed operation, 2 a wrong command line.
</translation>
    </message>
    <message>
        <source>Записываемое изображение; формат задаётся расширением.</source>
        <translation>The picture to write, of the kind its extension names.</translation>
    </message>
    <message>
        <source>Образец: %1.</source>
        <translation>The sample: %1.</translation>
    </message>
    <message>
        <source>Загружает изображение так же, как convert, и выводит его ширину, высоту и формат пикселей в файле (например, &quot;640 480 pf8bit&quot;).</source>
        <translation>Loads the picture as convert does and prints its width, height and pixel format as read (e.g. &quot;640 480 pf8bit&quot;).</translation>
    </message>
    <message>
        <source>Записывает изображение в формате, который задаёт расширение OUT.</source>
        <translation>Writes the picture in the kind OUT&apos;s extension names.</translation>
    </message>
    <message>
        <source>Записывает одно из изображений-образцов программы, 640 x 480, в формате, который задаёт расширение OUT.</source>
        <translation>Writes one of the program&apos;s sample pictures, 640 x 480, in the kind OUT&apos;s extension names.</translation>
    </message>
    <message>
        <source>Уровни серого: каждый канал получает среднеквадратичное трёх каналов.</source>
        <translation>Grey levels: every channel takes the root mean square of the three.</translation>
    </message>
    <message>
        <source>Отражает слева направо (H) или сверху вниз (V).</source>
        <translation>Mirrors left to right (H) or top to bottom (V).</translation>
    </message>
    <message>
        <source>H — отражение слева направо, V — сверху вниз.</source>
        <translation>H mirrors left to right, V top to bottom.</translation>
    </message>
    <message>
        <source>Поворачивает на 90 градусов: + против часовой стрелки, - по часовой.</source>
        <translation>Turns by 90 degrees: + counter-clockwise, - clockwise.</translation>
    </message>
    <message>
        <source>+ против часовой стрелки, - по часовой.</source>
        <translation>+ counter-clockwise, - clockwise.</translation>
    </message>
    <message>
        <source>Поворачивает вокруг пикселя на ANGLE градусов (-89.9 .. 89.9, положительный угол — против часовой стрелки); открывшиеся углы получают цвет заливки. При угле 0 изображение записывается как есть.</source>
        <translation>Turns by ANGLE degrees (-89.9 .. 89.9, positive counter-clockwise) about a pixel; the corners uncovered take the fill colour. An angle of 0 writes the picture as it is.</translation>
    </message>
    <message>
        <source>Градусы, например 12.5 или -30.</source>
        <translation>Degrees, e.g. 12.5 or -30.</translation>
    </message>
    <message>
        <source>Пиксель — центр поворота (обязателен); целые числа.</source>
        <translation>The pixel turned about (required); whole numbers.</translation>
    </message>
    <message>
        <source>Цвет открывшихся углов (по умолчанию FFFFFF).</source>
        <translation>The colour of uncovered corners (FFFFFF unless given).</translation>
    </message>
    <message>
        <source>Оставляет прямоугольник с этими углами, оба включительно; углы задаются в любом порядке, прямоугольник обрезается по изображению.</source>
        <translation>Keeps the rectangle with these corners, both included, given in any order and clipped to the picture.</translation>
    </message>
    <message>
        <source>Столбец одного угла.</source>
        <translation>Column of one corner.</translation>
    </message>
    <message>
        <source>Строка одного угла.</source>
        <translation>Row of one corner.</translation>
    </message>
    <message>
        <source>Столбец другого угла.</source>
        <translation>Column of the other corner.</translation>
    </message>
    <message>
        <source>Строка другого угла.</source>
        <translation>Row of the other corner.</translation>
    </message>
    <message>
        <source>Пересчитывает изображение усреднением по площади; масштаб 0.01 .. 8 и стороны 1 .. 6000, вне этих пределов исправляются с предупреждением.</source>
        <translation>Resamples by area average; zoom 0.01 .. 8 and sides 1 .. 6000, corrected with a warning when outside.</translation>
    </message>
    <message>
        <source>Умножить обе стороны на Z.</source>
        <translation>Scale both sides by Z.</translation>
    </message>
    <message>
        <source>Сделать изображение шириной W и высотой H пикселей.</source>
        <translation>Make the picture W pixels wide and H high.</translation>
    </message>
    <message>
        <source>С --size: сохранить пропорции, вписав изображение в W x H.</source>
        <translation>With --size: keep the proportions, fitting within W x H.</translation>
    </message>
    <message>
        <source>Сравнивает два изображения одного размера: &quot;differing&quot; и число пикселей, различных хотя бы в одном канале, затем max, mae (средняя абсолютная разность), mse и psnr (10 log10(255^2 / mse) дБ, &quot;inf&quot; при равенстве), каждое для B, G, R и Light (уровня гистограмм), через табуляцию, в виде %.6g. Изображения разных размеров не принимаются.</source>
        <translation>Compares two pictures of one size: &quot;differing&quot; and the pixels differing in any channel, then max, mae (mean absolute difference), mse and psnr (10 log10(255^2 / mse) dB, &quot;inf&quot; where equal), each for B, G, R and Light (the histograms&apos; level), tab-separated, as %.6g. Pictures of different sizes are refused.</translation>
    </message>
    <message>
        <source>Первое изображение: BMP, либо JPEG, PNG, TIFF или WebP, определяемый по расширению.</source>
        <translation>The first picture: a BMP, or a JPEG, PNG, TIFF or WebP named by its extension.</translation>
    </message>
    <message>
        <source>Второе изображение того же размера, с именем того же вида.</source>
        <translation>The second picture, of the same size and kind of name.</translation>
    </message>
    <message>
        <source>Записать также разность |A - B| каждого канала, умноженную на K, в формате, который задаёт расширение OUT.</source>
        <translation>Also write the difference |A - B| of each channel, times K, in the kind OUT&apos;s extension names.</translation>
    </message>
    <message>
        <source>С --diff: умножить разности на K, 1 .. 64, не выше 255 (по умолчанию 1).</source>
        <translation>With --diff: multiply the differences by K, 1 .. 64, stopping at 255 (1 unless given).</translation>
    </message>
    <message>
        <source>Разделитель: tab, semicolon или один символ (по умолчанию точка с запятой; пустой или из пробелов означает отсутствие разделителя). export-text не принимает цифру: значения потом нельзя было бы разделить.</source>
        <translation>The separator: tab, semicolon or one character (default semicolon; an empty or blank one means none). export-text refuses a digit: the values could not be told apart again.</translation>
    </message>
    <message>
        <source>Записывает изображение как текстовое: по строке текста на строку пикселей, синий, зелёный и красный каждого пикселя в десятичном виде, за каждым значением — разделитель. К OUT добавляется &quot;.txt&quot;, если имя так не кончается (в любом регистре); существующий файл заменяется.</source>
        <translation>Writes a picture as a text image: one line per row, each pixel&apos;s blue, green and red in decimal, each value followed by the separator. OUT gets &quot;.txt&quot; unless it ends so in any letter case; an existing file is replaced.</translation>
    </message>
    <message>
        <source>Записываемый текстовый файл.</source>
        <translation>The text file to write.</translation>
    </message>
    <message>
        <source>Читает текстовое изображение, как диалог импорта (значения, которые не являются числом 0..255 или не имеют разделителя, пропускаются), и записывает его как изображение; ширина берётся по первой строке.</source>
        <translation>Reads a text image as the import dialog does (values that are no number 0..255 or lack their separator are skipped) and writes it as a picture; the width is that of the first line.</translation>
    </message>
    <message>
        <source>Читаемый текстовый файл.</source>
        <translation>The text file to read.</translation>
    </message>
    <message>
        <source>Выводит функцию преобразования в том виде, в каком её хранит редактор точек 512 x 512: по точке в строке, X, табуляция, Y — как в файле функции (.fcc).</source>
        <translation>Prints a transfer function as the 512 x 512 point editor holds it, one point a line, X tab Y, as a function file (.fcc) holds it.</translation>
    </message>
    <message>
        <source>Гладкая функция: identity, ln, exp, sqrt, square или sin.</source>
        <translation>A smooth function: identity, ln, exp, sqrt, square or sin.</translation>
    </message>
    <message>
        <source>Конец диапазона формулы, 0.1 .. 2.0.</source>
        <translation>The end of the formula&apos;s range, 0.1 .. 2.0.</translation>
    </message>
    <message>
        <source>Число точек формулы: 4, 8, 16 или 32.</source>
        <translation>The formula&apos;s points: 4, 8, 16 or 32.</translation>
    </message>
    <message>
        <source>Ступенчатая функция из 4, 8, 16 или 32 участков.</source>
        <translation>A step function of 4, 8, 16 or 32 sections.</translation>
    </message>
    <message>
        <source>Решетчатая функция из 4, 8, 16 или 32 участков.</source>
        <translation>A grating function of 4, 8, 16 or 32 sections.</translation>
    </message>
    <message>
        <source>Ширина решетки для --step или --grating, 0 .. 4 (по умолчанию 0).</source>
        <translation>The grating width of --step or --grating, 0 .. 4 (default 0).</translation>
    </message>
    <message>
        <source>Файл функции, загружаемый так же, как его загружает программа.</source>
        <translation>A function file, loaded as the program loads it.</translation>
    </message>
    <message>
        <source>Негатив функции: каждая точка отражается по вертикали.</source>
        <translation>The negative of the function: every point mirrored vertically.</translation>
    </message>
    <message>
        <source>Применяет функцию из файла функции к яркости изображения, как это делает программа после загрузки файла.</source>
        <translation>Applies the function in a function file to a picture&apos;s brightness, as the program does after loading the file.</translation>
    </message>
    <message>
        <source>Файл функции (.fcc).</source>
        <translation>The function file (.fcc).</translation>
    </message>
</context>
<context>
    <name>CliHistograms</name>
    <message>
        <source>нужен параметр --fragment LEFT TOP RIGHT BOTTOM</source>
        <translation>--fragment LEFT TOP RIGHT BOTTOM is required</translation>
    </message>
    <message>
        <source>укажите либо --row Y, либо --column X</source>
        <translation>give either --row Y or --column X</translation>
    </message>
    <message>
        <source>--channel принимает R, G, B или L, а не &quot;%1&quot;</source>
        <translation>--channel takes R, G, B or L, not &quot;%1&quot;</translation>
    </message>
    <message>
        <source>укажите либо --auto, либо --conv, но не оба</source>
        <translation>give either --auto or --conv, not both</translation>
    </message>
    <message>
        <source>--conv принимает one, x, one-minus-x или rect, а не &quot;%1&quot;</source>
        <translation>--conv takes one, x, one-minus-x or rect, not &quot;%1&quot;</translation>
    </message>
    <message>
        <source>фрагмент лежит вне изображения</source>
        <translation>the fragment lies outside the picture</translation>
    </message>
</context>
<context>
    <name>CliPictures</name>
    <message>
        <source>режим — H или V, а не &quot;%1&quot;</source>
        <translation>the mode is H or V, not &quot;%1&quot;</translation>
    </message>
    <message>
        <source>направление — + или -, а не &quot;%1&quot;</source>
        <translation>the direction is + or -, not &quot;%1&quot;</translation>
    </message>
    <message>
        <source>--fill принимает цвет в виде RRGGBB, например FFFFFF, а не &quot;%1&quot;</source>
        <translation>--fill takes a colour as RRGGBB, e.g. FFFFFF, not &quot;%1&quot;</translation>
    </message>
    <message>
        <source>нужен параметр --centre ROW COL</source>
        <translation>--centre ROW COL is required</translation>
    </message>
    <message>
        <source>ANGLE должен лежать в пределах -89.9 .. 89.9 градуса</source>
        <translation>ANGLE must lie within -89.9 .. 89.9 degrees</translation>
    </message>
    <message>
        <source>укажите либо --zoom Z, либо --size W H</source>
        <translation>give either --zoom Z or --size W H</translation>
    </message>
    <message>
        <source>W и H — стороны не меньше одного пикселя</source>
        <translation>W and H are sides of at least one pixel</translation>
    </message>
    <message>
        <source>изображение не удалось масштабировать</source>
        <translation>the picture could not be scaled</translation>
    </message>
    <message>
        <source>NAME — одно из %1, а не &quot;%2&quot;</source>
        <translation>NAME is one of %1, not &quot;%2&quot;</translation>
    </message>
    <message>
        <source>--gain принимает %1 .. %2</source>
        <translation>--gain takes %1 .. %2</translation>
    </message>
    <message>
        <source>изображения разных размеров, %1 x %2 и %3 x %4: сравнивать можно только изображения одного размера</source>
        <translation>the pictures are of different sizes, %1 x %2 and %3 x %4: only pictures of one size can be compared</translation>
    </message>
</context>
<context>
    <name>CliText</name>
    <message>
        <source>--sep принимает tab, semicolon или один символ</source>
        <translation>--sep is tab, semicolon or one character</translation>
    </message>
    <message>
        <source>--sep команды export-text не может быть цифрой: значения нельзя было бы разделить</source>
        <translation>--sep of export-text cannot be a digit: the values could not be told apart</translation>
    </message>
    <message>
        <source>изображение не удалось поместить в массив: %1</source>
        <translation>the picture could not be put into an array: %1</translation>
    </message>
    <message>
        <source>в файле нет строк: %1</source>
        <translation>the file has no lines: %1</translation>
    </message>
    <message>
        <source>первая строка %1 не дала ни одного пикселя</source>
        <translation>the first line of %1 gave no pixel</translation>
    </message>
</context>
<context>
    <name>CliTransfer</name>
    <message>
        <source>%1 — одно из %2</source>
        <translation>%1 is one of %2</translation>
    </message>
    <message>
        <source>--width принимает 0 .. 4</source>
        <translation>--width is 0 .. 4</translation>
    </message>
    <message>
        <source>укажите ровно один из параметров --formula, --step, --grating и --fcc</source>
        <translation>give exactly one of --formula, --step, --grating and --fcc</translation>
    </message>
    <message>
        <source>--xe и --points относятся к --formula</source>
        <translation>--xe and --points belong to --formula</translation>
    </message>
    <message>
        <source>--width относится к --step и --grating</source>
        <translation>--width belongs to --step and --grating</translation>
    </message>
    <message>
        <source>--formula требует --xe и --points</source>
        <translation>--formula needs --xe and --points</translation>
    </message>
    <message>
        <source>--xe принимает 0.1 .. 2.0</source>
        <translation>--xe is 0.1 .. 2.0</translation>
    </message>
</context>
<context>
    <name>Explain</name>
    <message>
        <source>Подъём отрицательных (оттенок сохраняется)</source>
        <translation>Lifting negatives (hue kept)</translation>
    </message>
    <message>
        <source>Сжатие до 255 (оттенок сохраняется)</source>
        <translation>Compressing to 255 (hue kept)</translation>
    </message>
    <message>
        <source>Диапазон</source>
        <translation>Range</translation>
    </message>
    <message>
        <source>%1 в пределах, без изменений</source>
        <translation>%1 within range, unchanged</translation>
    </message>
    <message>
        <source>Отбрасывание дробной части</source>
        <translation>Dropping the fraction</translation>
    </message>
    <message>
        <source>W = %1, H = %2: окна 7 × 7 нет, вся картинка — край</source>
        <translation>W = %1, H = %2: no 7 × 7 window, the whole picture is border</translation>
    </message>
    <message>
        <source>Краевая точка</source>
        <translation>Border pixel</translation>
    </message>
    <message>
        <source>Сумма весов</source>
        <translation>Sum of weights</translation>
    </message>
    <message>
        <source>%1 ≤ 0: край остаётся чёрным</source>
        <translation>%1 ≤ 0: the border stays black</translation>
    </message>
    <message>
        <source>Усиление</source>
        <translation>Gain</translation>
    </message>
    <message>
        <source>Произведения</source>
        <translation>Products</translation>
    </message>
    <message>
        <source>Внутренняя точка</source>
        <translation>Interior pixel</translation>
    </message>
    <message>
        <source>строки y − 3 … y + 3, столбцы x − 3 … x + 3</source>
        <translation>rows y − 3 … y + 3, columns x − 3 … x + 3</translation>
    </message>
    <message>
        <source>строки %1 … %2, столбцы %3 … %4</source>
        <translation>rows %1 … %2, columns %3 … %4</translation>
    </message>
    <message>
        <source>Сумма произведений %1</source>
        <translation>Sum of products %1</translation>
    </message>
    <message>
        <source>Деление на масштаб</source>
        <translation>Division by the scale</translation>
    </message>
    <message>
        <source>Изображение меньше 4 x 4 пикселей: фильтр не применялся.</source>
        <translation>The image is smaller than 4 x 4 pixels: the filter was not applied.</translation>
    </message>
    <message>
        <source>Масштаб цифрового фильтра меньше единицы: фильтр не применялся.</source>
        <translation>The digital filter&apos;s scale is below one: the filter was not applied.</translation>
    </message>
    <message>
        <source>Веса фильтра слишком велики: фильтр не применялся.</source>
        <translation>The filter weights are too large: the filter was not applied.</translation>
    </message>
    <message>
        <source>Точка (%1, %2) лежит вне исходного изображения.</source>
        <translation>Pixel (%1, %2) lies outside the source image.</translation>
    </message>
    <message>
        <source>Исходная точка (%1, %2) лежит вне исходного изображения.</source>
        <translation>Source pixel (%1, %2) lies outside the source image.</translation>
    </message>
    <message>
        <source>Значение исходной точки</source>
        <translation>Source pixel value</translation>
    </message>
    <message>
        <source>(B, G, R) в точке (x′, y′)</source>
        <translation>(B, G, R) at (x′, y′)</translation>
    </message>
    <message>
        <source>Угол точки (%1)</source>
        <translation>Pixel angle (%1)</translation>
    </message>
    <message>
        <source>Смещение по строкам в исходном (r ≤ 0,1)</source>
        <translation>Row offset in the source (r ≤ 0.1)</translation>
    </message>
    <message>
        <source>Смещение по столбцам в исходном (r ≤ 0,1)</source>
        <translation>Column offset in the source (r ≤ 0.1)</translation>
    </message>
    <message>
        <source>Угол поворота</source>
        <translation>Rotation angle</translation>
    </message>
    <message>
        <source>Угол до поворота</source>
        <translation>Angle before rotation</translation>
    </message>
    <message>
        <source>Смещение по строкам в исходном</source>
        <translation>Row offset in the source</translation>
    </message>
    <message>
        <source>Смещение по столбцам в исходном</source>
        <translation>Column offset in the source</translation>
    </message>
    <message>
        <source>Строка источника (половины к чётному)</source>
        <translation>Source row (halves to even)</translation>
    </message>
    <message>
        <source>Столбец источника (половины к чётному)</source>
        <translation>Source column (halves to even)</translation>
    </message>
    <message>
        <source>строка %1 вне 0…%2</source>
        <translation>row %1 outside 0…%2</translation>
    </message>
    <message>
        <source>столбец %1 вне 0…%2</source>
        <translation>column %1 outside 0…%2</translation>
    </message>
    <message>
        <source>Цвет заливки</source>
        <translation>Fill colour</translation>
    </message>
    <message>
        <source>точка (row, col) вне исходного</source>
        <translation>pixel (row, col) outside the source</translation>
    </message>
    <message>
        <source>(B, G, R) в точке (row, col)</source>
        <translation>(B, G, R) at (row, col)</translation>
    </message>
    <message>
        <source>Исходная точка</source>
        <translation>Source pixel</translation>
    </message>
    <message>
        <source>Сумма квадратов</source>
        <translation>Sum of squares</translation>
    </message>
    <message>
        <source>Среднеквадратичное</source>
        <translation>Root mean square</translation>
    </message>
    <message>
        <source>Уровень (половины к чётному)</source>
        <translation>Level (halves to even)</translation>
    </message>
    <message>
        <source>L = round(v) при v &lt; 255,1, иначе 255</source>
        <translation>L = round(v) if v &lt; 255.1, else 255</translation>
    </message>
    <message>
        <source>Исходный столбец</source>
        <translation>Source column</translation>
    </message>
    <message>
        <source>Исходная строка</source>
        <translation>Source row</translation>
    </message>
    <message>
        <source>Вырезка ничего не взяла: прямоугольник пуст или лежит вне изображения.</source>
        <translation>The crop took nothing: the rectangle is empty or lies outside the image.</translation>
    </message>
    <message>
        <source>Левый край</source>
        <translation>Left edge</translation>
    </message>
    <message>
        <source>Верхний край</source>
        <translation>Top edge</translation>
    </message>
    <message>
        <source>Поворот не выполнялся: в исходном изображении меньше трёх строк.</source>
        <translation>No rotation was done: the source image has fewer than three rows.</translation>
    </message>
    <message>
        <source>Точка</source>
        <translation>Pixel</translation>
    </message>
    <message>
        <source>Центр</source>
        <translation>Centre</translation>
    </message>
    <message>
        <source>Ширина</source>
        <translation>Width</translation>
    </message>
    <message>
        <source>Смещение по строкам</source>
        <translation>Row offset</translation>
    </message>
    <message>
        <source>Смещение по столбцам (от правого края)</source>
        <translation>Column offset (from the right edge)</translation>
    </message>
    <message>
        <source>Радиус</source>
        <translation>Radius</translation>
    </message>
    <message>
        <source>%1 (всего %2)</source>
        <translation>%1 (%2 in all)</translation>
    </message>
    <message>
        <source>Способ (nx, ny — наибольшее число столбцов и строк на точку)</source>
        <translation>Method (nx, ny — most columns and rows per pixel)</translation>
    </message>
    <message>
        <source>точные веса в целых числах</source>
        <translation>exact integer weights</translation>
    </message>
    <message>
        <source>веса в долях 1/%1</source>
        <translation>weights in units of 1/%1</translation>
    </message>
    <message>
        <source>Способ</source>
        <translation>Method</translation>
    </message>
    <message>
        <source>размеры равны: точка копируется</source>
        <translation>equal sizes: the pixel is copied</translation>
    </message>
    <message>
        <source>(B, G, R) в точке (x, y)</source>
        <translation>(B, G, R) at (x, y)</translation>
    </message>
    <message>
        <source>Область по столбцам</source>
        <translation>Area across columns</translation>
    </message>
    <message>
        <source>Область по строкам</source>
        <translation>Area across rows</translation>
    </message>
    <message>
        <source>%1(i) = доля пикселя i в области · %2 / НОД(%3, %2)</source>
        <translation>%1(i) = share of pixel i in the area · %2 / GCD(%3, %2)</translation>
    </message>
    <message>
        <source>%1(i) = T(i) − T(i − 1), T(i) = round(%2 · доля области до пикселя i включительно)</source>
        <translation>%1(i) = T(i) − T(i − 1), T(i) = round(%2 · share of the area up to pixel i inclusive)</translation>
    </message>
    <message>
        <source>Веса столбцов</source>
        <translation>Column weights</translation>
    </message>
    <message>
        <source>столбцы %1: %2; Σ = %3</source>
        <translation>columns %1: %2; Σ = %3</translation>
    </message>
    <message>
        <source>Веса строк</source>
        <translation>Row weights</translation>
    </message>
    <message>
        <source>строки %1: %2; Σ = %3</source>
        <translation>rows %1: %2; Σ = %3</translation>
    </message>
    <message>
        <source>%1 слагаемых</source>
        <translation>%1 terms</translation>
    </message>
    <message>
        <source>Сумма %1</source>
        <translation>Sum %1</translation>
    </message>
    <message>
        <source>%1: %2 / %3 = %4 → %5 (половина — к чётному)</source>
        <translation>%1: %2 / %3 = %4 → %5 (a half — to even)</translation>
    </message>
    <message>
        <source>Деление и округление (половины к чётному)</source>
        <translation>Division and rounding (halves to even)</translation>
    </message>
    <message>
        <source>Размеры</source>
        <translation>Sizes</translation>
    </message>
    <message>
        <source>уменьшение вдвое: среднее блока 2 × 2</source>
        <translation>halving: mean of a 2 × 2 block</translation>
    </message>
    <message>
        <source>Яркость</source>
        <translation>Brightness</translation>
    </message>
    <message>
        <source>Уровень яркости</source>
        <translation>Brightness level</translation>
    </message>
    <message>
        <source>Множитель</source>
        <translation>Factor</translation>
    </message>
    <message>
        <source>чёрная точка</source>
        <translation>black pixel</translation>
    </message>
    <message>
        <source>Отрезок вертикальный</source>
        <translation>Vertical segment</translation>
    </message>
    <message>
        <source>Наклон отрезка</source>
        <translation>Segment slope</translation>
    </message>
    <message>
        <source>Значение функции</source>
        <translation>Function value</translation>
    </message>
    <message>
        <source>l &lt; 1, берётся сама яркость: F = a·(L − X₁) + Y₁</source>
        <translation>l &lt; 1, the brightness itself is used: F = a·(L − X₁) + Y₁</translation>
    </message>
    <message>
        <source>Насыщение (оттенок сохраняется)</source>
        <translation>Saturation (hue kept)</translation>
    </message>
    <message>
        <source>Передаточная функция задана меньше чем двумя точками: изображение не менялось.</source>
        <translation>The transfer function has fewer than two points: the image was not changed.</translation>
    </message>
    <message>
        <source>Отрезок</source>
        <translation>Segment</translation>
    </message>
    <message>
        <source>нет отрезка для l = %1: точка не меняется</source>
        <translation>no segment for l = %1: the pixel stays unchanged</translation>
    </message>
    <message>
        <source>Отрицательный множитель</source>
        <translation>Negative factor</translation>
    </message>
    <message>
        <source>Серый</source>
        <translation>Grey</translation>
    </message>
    <message>
        <source>Зеркало по горизонтали</source>
        <translation>Horizontal mirror</translation>
    </message>
    <message>
        <source>Зеркало по вертикали</source>
        <translation>Vertical mirror</translation>
    </message>
    <message>
        <source>Поворот на +90°</source>
        <translation>Rotation by +90°</translation>
    </message>
    <message>
        <source>Поворот на -90°</source>
        <translation>Rotation by -90°</translation>
    </message>
    <message>
        <source>Вырезка</source>
        <translation>Crop</translation>
    </message>
    <message>
        <source>Поворот на угол</source>
        <translation>Rotation by an angle</translation>
    </message>
    <message>
        <source>Масштабирование</source>
        <translation>Scaling</translation>
    </message>
    <message>
        <source>Фильтр</source>
        <translation>Filter</translation>
    </message>
    <message>
        <source>Передаточная функция</source>
        <translation>Transfer function</translation>
    </message>
    <message>
        <source>Точка (%1, %2) лежит вне изображения.</source>
        <translation>Pixel (%1, %2) lies outside the image.</translation>
    </message>
    <message>
        <source>Исходное изображение операции больше не хранится.</source>
        <translation>The operation&apos;s source image is no longer kept.</translation>
    </message>
    <message>
        <source>Расхождение</source>
        <translation>Mismatch</translation>
    </message>
    <message>
        <source>результат %1 ≠ точка изображения %2</source>
        <translation>result %1 ≠ image pixel %2</translation>
    </message>
    <message>
        <source>Окрестность: B,G,R×вес; строки %1 … %2, столбцы %3 … %4</source>
        <translation>Neighbourhood: B,G,R×weight; rows %1 … %2, columns %3 … %4</translation>
    </message>
</context>
<context>
    <name>FccDialog</name>
    <message>
        <source>Функция преобразования (*.fcc)</source>
        <translation>Transfer function (*.fcc)</translation>
    </message>
    <message>
        <source>Такой файл уже существует.<byte value="xd"/>
ПЕРЕЗАПИСАТЬ?</source>
        <translation>This file already exists.<byte value="xd"/>
OVERWRITE it?</translation>
    </message>
</context>
<context>
    <name>FccFile</name>
    <message>
        <source>Не могу прочитать файл функции %1 : %2</source>
        <translation>Cannot read the function file %1 : %2</translation>
    </message>
    <message>
        <source>файл не найден</source>
        <translation>file not found</translation>
    </message>
    <message>
        <source>это не обычный файл</source>
        <translation>not a regular file</translation>
    </message>
    <message>
        <source>файл слишком велик (%1 байт, допустимо не более %2)</source>
        <translation>file too large (%1 bytes, at most %2 allowed)</translation>
    </message>
    <message>
        <source>файл слишком велик (допустимо не более %1 байт)</source>
        <translation>file too large (at most %1 bytes allowed)</translation>
    </message>
    <message>
        <source>ПРИ ЗАГРУЗКЕ ФАЙЛА ОБНАРУЖЕНЫ ОШИБКИ :<byte value="xd"/>
Ошибки входной яркости  - %1<byte value="xd"/>
Ошибки выходной яркости - %2<byte value="xd"/>
ЗАГРУЗКА ФАЙЛА ОТМЕНЕНА</source>
        <translation>ERRORS FOUND IN THE FILE :<byte value="xd"/>
Input brightness errors  - %1<byte value="xd"/>
Output brightness errors - %2<byte value="xd"/>
LOADING CANCELLED</translation>
    </message>
    <message>
        <source>Не могу записать файл функции %1 : %2</source>
        <translation>Cannot write the function file %1 : %2</translation>
    </message>
</context>
<context>
    <name>FileErrors</name>
    <message>
        <source>Файл или папка не найдены.</source>
        <translation>No such file or folder.</translation>
    </message>
    <message>
        <source>Нет прав доступа.</source>
        <translation>Permission denied.</translation>
    </message>
    <message>
        <source>Это папка, а не файл.</source>
        <translation>This is a folder, not a file.</translation>
    </message>
    <message>
        <source>Часть пути не является папкой.</source>
        <translation>A part of the path is not a folder.</translation>
    </message>
    <message>
        <source>Слишком длинное имя файла.</source>
        <translation>The file name is too long.</translation>
    </message>
    <message>
        <source>Символические ссылки образуют петлю.</source>
        <translation>Symbolic links form a loop.</translation>
    </message>
    <message>
        <source>На диске нет места.</source>
        <translation>No space left on the disk.</translation>
    </message>
    <message>
        <source>Превышена дисковая квота.</source>
        <translation>Disk quota exceeded.</translation>
    </message>
    <message>
        <source>Файл превысил допустимый размер.</source>
        <translation>The file exceeded the allowed size.</translation>
    </message>
    <message>
        <source>Диск доступен только для чтения.</source>
        <translation>The disk is read-only.</translation>
    </message>
    <message>
        <source>Ошибка ввода-вывода.</source>
        <translation>Input/output error.</translation>
    </message>
    <message>
        <source>Открыто слишком много файлов.</source>
        <translation>Too many open files.</translation>
    </message>
    <message>
        <source>Недостаточно памяти.</source>
        <translation>Not enough memory.</translation>
    </message>
    <message>
        <source>Это не обычный файл.</source>
        <translation>Not a regular file.</translation>
    </message>
    <message>
        <source>Не могу открыть файл &quot;%1&quot;.<byte value="xd"/>
%2</source>
        <translation>Cannot open the file &quot;%1&quot;.<byte value="xd"/>
%2</translation>
    </message>
    <message>
        <source>Это не обычный файл (устройство, канал или сокет), и заменить его файлом нельзя.</source>
        <translation>This is not a regular file (a device, pipe or socket) and cannot be replaced by a file.</translation>
    </message>
    <message>
        <source>Не удалось создать файл.</source>
        <translation>Could not create the file.</translation>
    </message>
    <message>
        <source>Файл записан не полностью.</source>
        <translation>The file was not written completely.</translation>
    </message>
</context>
<context>
    <name>FilterGrid</name>
    <message>
        <source> Введенный Вами текст : %1<byte value="xd"/>
 Не является натуральным числом.</source>
        <translation> You entered : %1<byte value="xd"/>
 That is not a whole number.</translation>
    </message>
    <message>
        <source>Масштаб фильтра становится меньше единицы.<byte value="xd"/>
Прежнее значение будет восстановлено.</source>
        <translation>The filter scale would drop below one.<byte value="xd"/>
The previous value will be restored.</translation>
    </message>
</context>
<context>
    <name>FilterHelp</name>
    <message>
        <source>Все ответы Вы найдете в следующих книгах :<byte value="xd"/>
<byte value="xd"/>
1. Гонсалес Р., Вудс Р. Цифровая обработка изображений.<byte value="xd"/>
    М.: Техносфера, 2005. 1072 с. ISBN 5-94836-028-8.<byte value="xd"/>
<byte value="xd"/>
2. Прэтт У. Цифровая обработка изображений. В 2-х книгах.<byte value="xd"/>
    М.: Мир, 1982. 792 с.</source>
        <translation>You will find all the answers in these books :<byte value="xd"/>
<byte value="xd"/>
1. Gonzalez R., Woods R. Digital Image Processing.<byte value="xd"/>
    Moscow: Tekhnosfera, 2005. 1072 pp. ISBN 5-94836-028-8.<byte value="xd"/>
<byte value="xd"/>
2. Pratt W. Digital Image Processing. In 2 volumes.<byte value="xd"/>
    Moscow: Mir, 1982. 792 pp.</translation>
    </message>
</context>
<context>
    <name>FilterKernel</name>
    <message>
        <source>Неопределенный</source>
        <translation>Undefined</translation>
    </message>
    <message>
        <source>Сглаживающий</source>
        <translation>Smoothing</translation>
    </message>
    <message>
        <source>Обостряющий</source>
        <translation>Sharpening</translation>
    </message>
    <message>
        <source>Специальный</source>
        <translation>Special</translation>
    </message>
    <message>
        <source>Веса фильтра слишком велики: сумма весов или сумма их модулей, умноженная на 255, выходит за пределы 32-битного целого.<byte value="xd"/>
Операция отменена.</source>
        <translation>The filter weights are too large: the sum of the weights or of their absolute values, times 255, exceeds a 32-bit integer.<byte value="xd"/>
Operation cancelled.</translation>
    </message>
    <message>
        <source>Масштаб цифрового фильтра меньше единицы.<byte value="xd"/>
Перезагрузите или отредактируйте фильтр.</source>
        <translation>The digital filter scale is less than one.<byte value="xd"/>
Reload or edit the filter.</translation>
    </message>
</context>
<context>
    <name>FilterRec</name>
    <message>
        <source>символ «%1» (U+%2) не может быть сохранен в кодировке Windows-1251.</source>
        <translation>the character &quot;%1&quot; (U+%2) cannot be stored in the Windows-1251 encoding.</translation>
    </message>
    <message>
        <source>текст длиннее %1 символов (%2).</source>
        <translation>the text is longer than %1 characters (%2).</translation>
    </message>
    <message>
        <source>%1 : %2<byte value="xd"/>
Прежнее значение будет восстановлено.</source>
        <translation>%1 : %2<byte value="xd"/>
The previous value will be restored.</translation>
    </message>
</context>
<context>
    <name>FilterTab</name>
    <message>
        <source>Массив меньше 4 x 4 пикселей, фильтр не применяется.</source>
        <translation>The array is smaller than 4 x 4 pixels, the filter is not applied.</translation>
    </message>
    <message>
        <source>Строки массива разной длины, фильтр не применяется.</source>
        <translation>The array rows differ in length, the filter is not applied.</translation>
    </message>
    <message>
        <source>Недостаточно памяти для результата фильтрации.</source>
        <translation>Not enough memory for the filter result.</translation>
    </message>
</context>
<context>
    <name>FragmentStats</name>
    <message>
        <source>Вначале выберите координаты<byte value="xd"/>
(кликните в поле изображения)</source>
        <translation>Choose the coordinates first<byte value="xd"/>
(click in the picture)</translation>
    </message>
    <message>
        <source>Габариты изображения<byte value="xd"/>
меньше двух точек</source>
        <translation>The picture is smaller<byte value="xd"/>
than two points</translation>
    </message>
    <message>
        <source>Координаты СТРОКИ ВНЕ<byte value="xd"/>
размеров изображения</source>
        <translation>ROW coordinates<byte value="xd"/>
OUTSIDE the picture</translation>
    </message>
    <message>
        <source>Координаты СТОЛБЦА ВНЕ<byte value="xd"/>
размеров изображения</source>
        <translation>COLUMN coordinates<byte value="xd"/>
OUTSIDE the picture</translation>
    </message>
    <message>
        <source>Недостаточно памяти под рабочие массивы</source>
        <translation>Not enough memory for the work arrays</translation>
    </message>
    <message>
        <source>Необходим расчет мат. ожидания и дисперсии</source>
        <translation>The mean and variance must be computed first</translation>
    </message>
    <message>
        <source>Функции должны содержать не менее двух точек</source>
        <translation>The functions must have at least two points</translation>
    </message>
    <message>
        <source>Число точек в функциях должно быть одинаковым</source>
        <translation>The functions must have the same number of points</translation>
    </message>
</context>
<context>
    <name>FrequencyResponse</name>
    <message>
        <source>частота, периодов на пиксель</source>
        <translation>frequency, cycles per pixel</translation>
    </message>
    <message>
        <source>по горизонтали (v = 0)</source>
        <translation>horizontal (v = 0)</translation>
    </message>
    <message>
        <source>по вертикали (u = 0)</source>
        <translation>vertical (u = 0)</translation>
    </message>
    <message>
        <source>Фильтр пропускает мелкие детали (усиливает)</source>
        <translation>The filter passes fine detail (boosts it)</translation>
    </message>
    <message>
        <source>Фильтр подавляет мелкие детали (сглаживает)</source>
        <translation>The filter suppresses fine detail (smooths)</translation>
    </message>
    <message>
        <source>Фильтр пропускает мелкие детали без изменений</source>
        <translation>The filter passes fine detail unchanged</translation>
    </message>
</context>
<context>
    <name>FunctionDir</name>
    <message>
        <source>НЕ могу СОЗДАТЬ ДИРЕКТОРИЮ : для файлов *.fcc : <byte value="xd"/>
%1</source>
        <translation>CANNOT CREATE THE FOLDER : for *.fcc files : <byte value="xd"/>
%1</translation>
    </message>
</context>
<context>
    <name>Geometry</name>
    <message>
        <source>MirrorToTrgArr : Не могу перевернуть изображение.</source>
        <translation>MirrorToTrgArr : Cannot flip the picture.</translation>
    </message>
    <message>
        <source>Prepare90TrgArr : Не могу получить память для массива.</source>
        <translation>Prepare90TrgArr : Cannot get memory for the array.</translation>
    </message>
    <message>
        <source>Rotate90PlusMinus : Не могу перевернуть изображение.</source>
        <translation>Rotate90PlusMinus : Cannot turn the picture.</translation>
    </message>
    <message>
        <source>SetAndCrearTabBGR : Не могу подготовить массив.</source>
        <translation>SetAndCrearTabBGR : Cannot prepare the array.</translation>
    </message>
    <message>
        <source>RotateForTabBGR : Не могу повернуть изображение.</source>
        <translation>RotateForTabBGR : Cannot rotate the picture.</translation>
    </message>
    <message>
        <source> Допустимый угол поворота в градусах должен <byte value="xd"/>
 определяться в границах (-89,9 .. 89,9)<byte value="xd"/>
 Операция вращения отменяется ... </source>
        <translation> The rotation angle in degrees must lie <byte value="xd"/>
 within the bounds (-89,9 .. 89,9)<byte value="xd"/>
 The rotation is cancelled ... </translation>
    </message>
</context>
<context>
    <name>GraphScale</name>
    <message>
        <source>TGraphXY : Массив функции не задан</source>
        <translation>TGraphXY : The function array is not set</translation>
    </message>
    <message>
        <source>TGraphXY : По одной из осей нулевой масштаб</source>
        <translation>TGraphXY : Zero scale on one of the axes</translation>
    </message>
    <message>
        <source>TGraphXY : Чило точек функции меньше двух</source>
        <translation>TGraphXY : The function has fewer than two points</translation>
    </message>
    <message>
        <source>TGraphXY : Функция с нулевым размером диапазона X</source>
        <translation>TGraphXY : The function has a zero-size X range</translation>
    </message>
    <message>
        <source>TGraphXY : Функция с неправильным диапазоном по X</source>
        <translation>TGraphXY : The function has a wrong X range</translation>
    </message>
    <message>
        <source>GraphXY : Не могу вычислить масштаб для оси X</source>
        <translation>GraphXY : Cannot compute the X axis scale</translation>
    </message>
    <message>
        <source>GraphXY : Не могу вычислить масштаб для оси Y</source>
        <translation>GraphXY : Cannot compute the Y axis scale</translation>
    </message>
    <message>
        <source>TGraphXY : Функция с нулевым диапазоном по X</source>
        <translation>TGraphXY : The function has a zero X range</translation>
    </message>
    <message>
        <source>TGraphXY : Функция с нулевым диапазоном по Y</source>
        <translation>TGraphXY : The function has a zero Y range</translation>
    </message>
    <message>
        <source>TGraphXY : Неправильные масштабы по осям</source>
        <translation>TGraphXY : Wrong axis scales</translation>
    </message>
    <message>
        <source>TGraphXY : не могу прорисовать график</source>
        <translation>TGraphXY : cannot draw the graph</translation>
    </message>
    <message>
        <source>Панель VerarIZi1 для отображения табличных функций</source>
        <translation>VerarIZi1 panel for showing table functions</translation>
    </message>
</context>
<context>
    <name>Gray</name>
    <message>
        <source>BitMapToGrayBitMap : Не могу обесцветить BitMap.</source>
        <translation>BitMapToGrayBitMap : Cannot make the BitMap grey.</translation>
    </message>
</context>
<context>
    <name>Histogram</name>
    <message>
        <source>CalculateAllGistogram : Не могу вычислить гистограмму.</source>
        <translation>CalculateAllGistogram : Cannot compute the histogram.</translation>
    </message>
</context>
<context>
    <name>HistogramChannels</name>
    <message>
        <source>Нормированная гистограмма канала Red</source>
        <translation>Normalized Red histogram</translation>
    </message>
    <message>
        <source>По уровням яркости в канале RED</source>
        <translation>By brightness levels of channel RED</translation>
    </message>
    <message>
        <source>Канал RED (Красный)</source>
        <translation>Channel RED (Red)</translation>
    </message>
    <message>
        <source>Нормированная гистограмма канала Green</source>
        <translation>Normalized Green histogram</translation>
    </message>
    <message>
        <source>По уровням яркости в канале GREEN</source>
        <translation>By brightness levels of channel GREEN</translation>
    </message>
    <message>
        <source>Канал GREEN (Зеленый)</source>
        <translation>Channel GREEN (Green)</translation>
    </message>
    <message>
        <source>Нормированная гистограмма канала Blue</source>
        <translation>Normalized Blue histogram</translation>
    </message>
    <message>
        <source>По уровням яркости в канале BLUE</source>
        <translation>By brightness levels of channel BLUE</translation>
    </message>
    <message>
        <source>Канал BLUE (Голубой)</source>
        <translation>Channel BLUE (Blue)</translation>
    </message>
    <message>
        <source>Нормированная гистограмма канала Light</source>
        <translation>Normalized Light histogram</translation>
    </message>
    <message>
        <source>По уровням яркости в канале LIGHT </source>
        <translation>By brightness levels of channel LIGHT </translation>
    </message>
    <message>
        <source>Канал LIGHT (Яркость)</source>
        <translation>Channel LIGHT (Brightness)</translation>
    </message>
</context>
<context>
    <name>ImageCompare</name>
    <message>
        <source>Сравнивать нечего: одно из изображений пусто.</source>
        <translation>Nothing to compare: one of the pictures is empty.</translation>
    </message>
    <message>
        <source>Изображения разного размера: сравнить можно только изображения одного размера.</source>
        <translation>The pictures differ in size: only pictures of the same size can be compared.</translation>
    </message>
</context>
<context>
    <name>ImageError</name>
    <message>
        <source>Недопустимый размер изображения: %1 x %2 пикселей.</source>
        <translation>Picture size not allowed: %1 x %2 pixels.</translation>
    </message>
</context>
<context>
    <name>ImageScale</name>
    <message>
        <source>Размер строки или столбца ВНЕ диапазона:<byte value="xd"/>
( 1 ... %1 ) пикселей<byte value="xd"/>
Запрос будет исправлен</source>
        <translation>Row or column size OUT OF range:<byte value="xd"/>
( 1 ... %1 ) pixels<byte value="xd"/>
The request will be corrected</translation>
    </message>
    <message>
        <source>Zoom ВНЕ диапазона:<byte value="xd"/>
( %1 ... %2 ) %<byte value="xd"/>
Запрос будет исправлен</source>
        <translation>Zoom OUT OF range:<byte value="xd"/>
( %1 ... %2 ) %<byte value="xd"/>
The request will be corrected</translation>
    </message>
    <message>
        <source>TImageScale.Execute : Недостаточно памяти для изображения.</source>
        <translation>TImageScale.Execute : Not enough memory for the picture.</translation>
    </message>
</context>
<context>
    <name>ImgService</name>
    <message>
        <source>BitMapToImgTab : Не могу записать BitMap в BGR-массив.</source>
        <translation>BitMapToImgTab : Cannot write the BitMap into the BGR array.</translation>
    </message>
    <message>
        <source>ImgTabToBitMap : Не могу записать BGR-массив в BitMap.</source>
        <translation>ImgTabToBitMap : Cannot write the BGR array into the BitMap.</translation>
    </message>
    <message>
        <source>TabBRGtoTabBGR : Не могу скопировать массив.</source>
        <translation>TabBRGtoTabBGR : Cannot copy the array.</translation>
    </message>
    <message>
        <source>TabBRGtoTabColor : Не могу конвертировать массив.</source>
        <translation>TabBRGtoTabColor : Cannot convert the array.</translation>
    </message>
    <message>
        <source>TabColorToTabBRG : Не могу конвертировать массив.</source>
        <translation>TabColorToTabBRG : Cannot convert the array.</translation>
    </message>
    <message>
        <source>SelectedToImgTab : Не могу фрагмент скопировать в массив.</source>
        <translation>SelectedToImgTab : Cannot copy the fragment into the array.</translation>
    </message>
    <message>
        <source>AreaBitMapToImgTabColor : Не могу фрагмент скопировать в массив.</source>
        <translation>AreaBitMapToImgTabColor : Cannot copy the fragment into the array.</translation>
    </message>
    <message>
        <source>SelectedToImgTabColor : Не могу фрагмент скопировать в массив.</source>
        <translation>SelectedToImgTabColor : Cannot copy the fragment into the array.</translation>
    </message>
    <message>
        <source>SetAndCrearTabBGR : Не могу подготовить массив.</source>
        <translation>SetAndCrearTabBGR : Cannot prepare the array.</translation>
    </message>
</context>
<context>
    <name>JpegFile</name>
    <message>
        <source>Не могу прочитать JPEG-файл &quot;%1&quot;.<byte value="xd"/>
%2</source>
        <translation>Cannot read the JPEG file &quot;%1&quot;.<byte value="xd"/>
%2</translation>
    </message>
    <message>
        <source>В файле больше %1 сканов: такой файл декодировался бы слишком долго.</source>
        <translation>The file has more than %1 scans: decoding it would take too long.</translation>
    </message>
    <message>
        <source>В файле слишком мало данных для изображения %1 x %2 пикселей и его сканов: такой файл декодировался бы слишком долго.</source>
        <translation>The file holds too little data for a %1 x %2 pixel picture and its scans: decoding it would take too long.</translation>
    </message>
    <message>
        <source>Декодеру нужно больше памяти, чем допустимо для изображения %1 x %2 пикселей.</source>
        <translation>The decoder needs more memory than allowed for a %1 x %2 pixel picture.</translation>
    </message>
    <message>
        <source>Недостаточно памяти для изображения &quot;%1&quot;.</source>
        <translation>Not enough memory for the picture &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>Нет изображения для записи в JPEG-файл.</source>
        <translation>No picture to write to the JPEG file.</translation>
    </message>
    <message>
        <source>Не могу записать JPEG-файл &quot;%1&quot;.<byte value="xd"/>
%2</source>
        <translation>Cannot write the JPEG file &quot;%1&quot;.<byte value="xd"/>
%2</translation>
    </message>
</context>
<context>
    <name>KernelFile</name>
    <message>
        <source>&quot;%1&quot; не является целым числом.</source>
        <translation>&quot;%1&quot; is not a whole number.</translation>
    </message>
    <message>
        <source>Число %1 выходит за пределы 32-битного целого.</source>
        <translation>The number %1 exceeds a 32-bit integer.</translation>
    </message>
    <message>
        <source>Чисел больше, чем 49.</source>
        <translation>More than 49 numbers.</translation>
    </message>
    <message>
        <source>Чисел %1 вместо 49.</source>
        <translation>%1 numbers instead of 49.</translation>
    </message>
    <message>
        <source>ReadKernelFile : Файл %1 не содержит фильтра 7 x 7.<byte value="xd"/>
%2</source>
        <translation>ReadKernelFile : The file %1 holds no 7 x 7 filter.<byte value="xd"/>
%2</translation>
    </message>
    <message>
        <source>Файл не найден.</source>
        <translation>File not found.</translation>
    </message>
    <message>
        <source>Это не обычный файл.</source>
        <translation>Not a regular file.</translation>
    </message>
    <message>
        <source>Файл больше %1 байт.</source>
        <translation>The file is larger than %1 bytes.</translation>
    </message>
    <message>
        <source>Файл не читается.</source>
        <translation>The file cannot be read.</translation>
    </message>
</context>
<context>
    <name>LoadSaveImage</name>
    <message>
        <source>Все изображения (%1)</source>
        <translation>All pictures (%1)</translation>
    </message>
    <message>
        <source> Загрузка изображения %1 успешно завершена</source>
        <translation> %1 picture loaded successfully</translation>
    </message>
    <message>
        <source> Сохранение изображения %1 успешно завершено</source>
        <translation> %1 picture saved successfully</translation>
    </message>
    <message>
        <source>Не могу записать %1-файл &quot;%2&quot;.<byte value="xd"/>
%3</source>
        <translation>Cannot write the %1 file &quot;%2&quot;.<byte value="xd"/>
%3</translation>
    </message>
    <message>
        <source> ОШИБКА! Недопустимый формат ( %1 ) пикселя в Clipboard</source>
        <translation> ERROR! Pixel format ( %1 ) not allowed in the Clipboard</translation>
    </message>
    <message>
        <source> ОШИБКА! Недопустимый формат ( %1 ) пикселя в файле</source>
        <translation> ERROR! Pixel format ( %1 ) not allowed in the file</translation>
    </message>
    <message>
        <source>Неизвестное расширение файла изображения (%1).</source>
        <translation>Unknown picture file extension (%1).</translation>
    </message>
    <message>
        <source>CopyBitMapToClipboard : ОШИБКА копирования в Clipboard!</source>
        <translation>CopyBitMapToClipboard : ERROR copying to the Clipboard!</translation>
    </message>
    <message>
        <source> Загрузка изображения успешно завершена</source>
        <translation> Picture loaded successfully</translation>
    </message>
    <message>
        <source> Сохранеие изображения успешно завершено</source>
        <translation> Picture saved successfully</translation>
    </message>
    <message>
        <source> ОШИБКА установки формата pf24bit!</source>
        <translation> ERROR setting the pf24bit format!</translation>
    </message>
    <message>
        <source> ОШИБКА при сохранении файла</source>
        <translation> ERROR saving the file</translation>
    </message>
    <message>
        <source> Выполнена вставка изображения из Clipboard</source>
        <translation> Picture pasted from the Clipboard</translation>
    </message>
    <message>
        <source> Вставка ОТМЕНЕНА! Формат изображения в Clipboard НЕ BitMap</source>
        <translation> Paste CANCELLED! The picture in the Clipboard is NOT a BitMap</translation>
    </message>
    <message>
        <source>Указанный Файл уже существует.Заменить его на новый?</source>
        <translation>The file already exists. Replace it?</translation>
    </message>
</context>
<context>
    <name>MessageBox</name>
    <message>
        <source>Внимание</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Ошибка</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Информация</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Подтверждение</source>
        <translation>Confirmation</translation>
    </message>
</context>
<context>
    <name>MicroBase</name>
    <message>
        <source>запись выполнена не полностью</source>
        <translation>the record was not written completely</translation>
    </message>
    <message>
        <source>База недоступна (буфер записи отсутствует): <byte value="xd"/>
%1</source>
        <translation>The base is unavailable (no record buffer): <byte value="xd"/>
%1</translation>
    </message>
    <message>
        <source>Не могу открыть файл : <byte value="xd"/>
%1<byte value="xd"/>
%2</source>
        <translation>Cannot open the file : <byte value="xd"/>
%1<byte value="xd"/>
%2</translation>
    </message>
    <message>
        <source>Не могу открыть файл : <byte value="xd"/>
%1<byte value="xd"/>
это не обычный файл</source>
        <translation>Cannot open the file : <byte value="xd"/>
%1<byte value="xd"/>
not a regular file</translation>
    </message>
    <message>
        <source>Аварийная ситуация при открытии файла : <byte value="xd"/>
%1</source>
        <translation>Emergency while opening the file : <byte value="xd"/>
%1</translation>
    </message>
    <message>
        <source>TMicroBase.Write : Не могу записать запись %1 в файл : <byte value="xd"/>
%2<byte value="xd"/>
%3</source>
        <translation>TMicroBase.Write : Cannot write record %1 to the file : <byte value="xd"/>
%2<byte value="xd"/>
%3</translation>
    </message>
    <message>
        <source>%1; часть записи осталась в конце файла</source>
        <translation>%1; part of the record was left at the end of the file</translation>
    </message>
    <message>
        <source>TMicroBase.Append : Не могу добавить запись в файл : <byte value="xd"/>
%1<byte value="xd"/>
%2</source>
        <translation>TMicroBase.Append : Cannot add a record to the file : <byte value="xd"/>
%1<byte value="xd"/>
%2</translation>
    </message>
    <message>
        <source>Не могу получить память для буфера записей</source>
        <translation>Cannot get memory for the record buffer</translation>
    </message>
</context>
<context>
    <name>MicroBaseFiles</name>
    <message>
        <source>MicroBase : НЕ могу СОЗДАТЬ ДИРЕКТОРИЮ для файлов *.fdb : <byte value="xd"/>
%1</source>
        <translation>MicroBase : CANNOT CREATE THE FOLDER for *.fdb files : <byte value="xd"/>
%1</translation>
    </message>
    <message>
        <source>MicroBase : НЕ могу СОЗДАТЬ ФАЙЛ новой базы : <byte value="xd"/>
%1</source>
        <translation>MicroBase : CANNOT CREATE THE FILE of the new base : <byte value="xd"/>
%1</translation>
    </message>
    <message>
        <source>база не открыта</source>
        <translation>the base is not open</translation>
    </message>
    <message>
        <source>не могу прочитать запись %1 базы %2</source>
        <translation>cannot read record %1 of the base %2</translation>
    </message>
    <message>
        <source>SaveAs : Не могу сохранить базу в файл : <byte value="xd"/>
%1<byte value="xd"/>
%2</source>
        <translation>SaveAs : Cannot save the base to the file : <byte value="xd"/>
%1<byte value="xd"/>
%2</translation>
    </message>
    <message>
        <source>База с именем : %1<byte value="xd"/>
 уже существует! ПЕРЕЗАПИСАТЬ?</source>
        <translation>The base named : %1<byte value="xd"/>
 already exists! OVERWRITE it?</translation>
    </message>
    <message>
        <source>Сохранение в текущую базу данных ЗАПРЕЩЕНО<byte value="xd"/>
Выберите другое имя для сохраняемой базы</source>
        <translation>Saving into the current base is NOT ALLOWED<byte value="xd"/>
Choose another name for the saved base</translation>
    </message>
    <message>
        <source>База с именем : %1<byte value="xd"/>
 уже существует! ПЕРЕСОЗДАТЬ?</source>
        <translation>The base named : %1<byte value="xd"/>
 already exists! RECREATE it?</translation>
    </message>
    <message>
        <source>это не обычный файл</source>
        <translation>not a regular file</translation>
    </message>
    <message>
        <source>NewBaseDialog : Не могу удалить файл : <byte value="xd"/>
%1<byte value="xd"/>
%2</source>
        <translation>NewBaseDialog : Cannot delete the file : <byte value="xd"/>
%1<byte value="xd"/>
%2</translation>
    </message>
    <message>
        <source>Пересоздание текущей базы ЗАПРЕЩЕНО<byte value="xd"/>
Выберите другое имя для новой базы</source>
        <translation>Recreating the current base is NOT ALLOWED<byte value="xd"/>
Choose another name for the new base</translation>
    </message>
</context>
<context>
    <name>MicroBaseList</name>
    <message>
        <source>Номер, записанный в записи (%1), не совпадает с ее позицией в файле (%2)</source>
        <translation>The number stored in the record (%1) does not match its position in the file (%2)</translation>
    </message>
    <message>
        <source>   [в записи № %1]</source>
        <translation>   [stored No. %1]</translation>
    </message>
</context>
<context>
    <name>PlotExport</name>
    <message>
        <source>Рисунок PNG (*.png)</source>
        <translation>PNG picture (*.png)</translation>
    </message>
    <message>
        <source>Рисунка нет.</source>
        <translation>There is no picture.</translation>
    </message>
    <message>
        <source>Не могу записать рисунок &quot;%1&quot;.<byte value="xd"/>
%2</source>
        <translation>Cannot write the picture &quot;%1&quot;.<byte value="xd"/>
%2</translation>
    </message>
    <message>
        <source>Таблица CSV (*.csv)</source>
        <translation>CSV table (*.csv)</translation>
    </message>
    <message>
        <source>Не могу записать числа &quot;%1&quot;.<byte value="xd"/>
%2</source>
        <translation>Cannot write the numbers &quot;%1&quot;.<byte value="xd"/>
%2</translation>
    </message>
    <message>
        <source>Сохранить рисунок…</source>
        <translation>Save picture…</translation>
    </message>
    <message>
        <source>Сохранить числа…</source>
        <translation>Save numbers…</translation>
    </message>
</context>
<context>
    <name>PluginPicture</name>
    <message>
        <source>Не могу прочитать %1-файл &quot;%2&quot;.<byte value="xd"/>
%3</source>
        <translation>Cannot read the %1 file &quot;%2&quot;.<byte value="xd"/>
%3</translation>
    </message>
    <message>
        <source>Не могу записать %1-файл &quot;%2&quot;.<byte value="xd"/>
%3</source>
        <translation>Cannot write the %1 file &quot;%2&quot;.<byte value="xd"/>
%3</translation>
    </message>
    <message>
        <source>Файл поврежден или это не %1-файл.</source>
        <translation>The file is damaged or not a %1 file.</translation>
    </message>
    <message>
        <source>Пиксели изображения %1 x %2 заняли бы больше %3 МБ: %4 отсчетов по %5 бит на пиксель.</source>
        <translation>The pixels of a %1 x %2 picture would take more than %3 MB: %4 samples of %5 bits per pixel.</translation>
    </message>
    <message>
        <source>Изображение %1 x %2 пикселей по %3 бит на пиксель заняло бы при чтении %4 МБ памяти, допустимо не более %5 МБ.</source>
        <translation>A %1 x %2 pixel picture of %3 bits per pixel would take %4 MB of memory to read, at most %5 MB allowed.</translation>
    </message>
    <message>
        <source>Файл поврежден или это не %1-файл (%2).</source>
        <translation>The file is damaged or not a %1 file (%2).</translation>
    </message>
    <message>
        <source>Недостаточно памяти для изображения &quot;%1&quot;.</source>
        <translation>Not enough memory for the picture &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>Нет изображения для записи в %1-файл.</source>
        <translation>No picture to write to the %1 file.</translation>
    </message>
</context>
<context>
    <name>PngFile</name>
    <message>
        <source>Недостаточно памяти.</source>
        <translation>Not enough memory.</translation>
    </message>
    <message>
        <source>Файл поврежден или это не PNG-файл (%1).</source>
        <translation>The file is damaged or not a PNG file (%1).</translation>
    </message>
    <message>
        <source>Файл поврежден или это не PNG-файл.</source>
        <translation>The file is damaged or not a PNG file.</translation>
    </message>
    <message>
        <source>Недостаточно памяти для изображения.</source>
        <translation>Not enough memory for the picture.</translation>
    </message>
</context>
<context>
    <name>PointList</name>
    <message>
        <source>TQueue2L.DelLE : Элемент занят.Удаление элемента отменено.</source>
        <translation>TQueue2L.DelLE : The element is busy. Deletion cancelled.</translation>
    </message>
    <message>
        <source>Пропуск точки X : %1</source>
        <translation>Point skipped X : %1</translation>
    </message>
</context>
<context>
    <name>ReadyFilters</name>
    <message>
        <source>Широкий</source>
        <translation>Wide</translation>
    </message>
    <message>
        <source>Нормальный</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>Узкий</source>
        <translation>Narrow</translation>
    </message>
</context>
<context>
    <name>SamplePictures</name>
    <message>
        <source>Испытательная таблица</source>
        <translation>Test chart</translation>
    </message>
    <message>
        <source>Плавные переходы</source>
        <translation>Smooth gradients</translation>
    </message>
    <message>
        <source>Ровное поле с шумом</source>
        <translation>Flat field with noise</translation>
    </message>
    <message>
        <source>Сцена с тенями и бликами</source>
        <translation>Scene with shadows and highlights</translation>
    </message>
</context>
<context>
    <name>TextConvert</name>
    <message>
        <source> Введенный Вами текст : %1<byte value="xd"/>
 Не является действительным числом.</source>
        <translation> The text you entered : %1<byte value="xd"/>
 Is not a valid number.</translation>
    </message>
</context>
<context>
    <name>TextImage</name>
    <message>
        <source>WriteImgTabText : Не могу записать файл изображения %1 : %2</source>
        <translation>WriteImgTabText : Cannot write the picture file %1 : %2</translation>
    </message>
    <message>
        <source>ReadImgTabText : Не могу прочитать файл изображения %1 : %2</source>
        <translation>ReadImgTabText : Cannot read the picture file %1 : %2</translation>
    </message>
    <message>
        <source>в массиве %1 строк, допустимо не более %2</source>
        <translation>the array has %1 rows, at most %2 allowed</translation>
    </message>
    <message>
        <source>строка %1 массива пуста</source>
        <translation>array row %1 is empty</translation>
    </message>
    <message>
        <source>строка %1 массива длиннее %2 байт</source>
        <translation>array row %1 is longer than %2 bytes</translation>
    </message>
    <message>
        <source>цифра «%1» не может быть разделителем десятичных значений</source>
        <translation>the digit &quot;%1&quot; cannot separate decimal values</translation>
    </message>
    <message>
        <source>недостаточно памяти</source>
        <translation>not enough memory</translation>
    </message>
    <message>
        <source>файл не найден</source>
        <translation>file not found</translation>
    </message>
    <message>
        <source>это не обычный файл</source>
        <translation>not a regular file</translation>
    </message>
    <message>
        <source>в файле более %1 строк</source>
        <translation>the file has more than %1 lines</translation>
    </message>
</context>
<context>
    <name>TransferFunction</name>
    <message>
        <source>Недопустимый вид порождающей функции</source>
        <translation>Generating function shape not allowed</translation>
    </message>
    <message>
        <source> Число точек : %1</source>
        <translation> Number of points : %1</translation>
    </message>
    <message>
        <source> Список точек в координатах яркости :</source>
        <translation> Points in brightness coordinates :</translation>
    </message>
    <message>
        <source>TabBRGtoTabBGR : Не могу скопировать массив.</source>
        <translation>TabBRGtoTabBGR : Cannot copy the array.</translation>
    </message>
</context>
<context>
    <name>WebpFile</name>
    <message>
        <source>Недостаточно памяти.</source>
        <translation>Not enough memory.</translation>
    </message>
    <message>
        <source>В WebP-файле сторона изображения не может превышать %1 пикселей.</source>
        <translation>A WebP picture side cannot exceed %1 pixels.</translation>
    </message>
    <message>
        <source>Ошибка кодировщика WebP (код %1).</source>
        <translation>WebP encoder error (code %1).</translation>
    </message>
</context>
<context>
    <name>ormica::TExplainPanel</name>
    <message>
        <source>Шаг</source>
        <translation>Step</translation>
    </message>
    <message>
        <source>Формула</source>
        <translation>Formula</translation>
    </message>
    <message>
        <source>Числа</source>
        <translation>Numbers</translation>
    </message>
    <message>
        <source>Щёлкните по точке изображения, чтобы увидеть, как она вычислена.</source>
        <translation>Click a pixel of the image to see how it was computed.</translation>
    </message>
    <message>
        <source>%1: точка (%2, %3)</source>
        <translation>%1: pixel (%2, %3)</translation>
    </message>
    <message>
        <source>Результат (B, G, R): %1</source>
        <translation>Result (B, G, R): %1</translation>
    </message>
    <message>
        <source>Результат не совпадает с точкой изображения %1</source>
        <translation>The result differs from the image pixel %1</translation>
    </message>
</context>
<context>
    <name>ormica::TExportTxtDialog</name>
    <message>
        <source>Экспорт изображения в txt - файл</source>
        <translation>Export the image to a txt file</translation>
    </message>
    <message>
        <source>ЭКСПОРТ</source>
        <translation>EXPORT</translation>
    </message>
    <message>
        <source>Строки текстового файла будут соответствовать строкам изображения, а каждый пиксель будет кодироваться тремя десятичными значениями в формате: B разделитель G разделитель R разделитель</source>
        <translation>The lines of the text file will be the rows of the image, and each pixel will be written as three decimal values in the format: B separator G separator R separator</translation>
    </message>
</context>
<context>
    <name>ormica::TFormAbout</name>
    <message>
        <source>О программе</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Версия %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Учебная программа для изучения базовых методов цифровой обработки изображений: зеркальное отражение, поворот, обрезка и масштабирование, обесцвечивание, гистограммы и статистики яркости, функции преобразования яркости, цифровые фильтры и статистики фрагмента изображения.

Для учебного процесса.</source>
        <translation>A teaching program for the basic methods of digital image processing: mirroring, rotation, cropping and scaling, conversion to grey, brightness histograms and statistics, brightness transfer functions, digital filters and image fragment statistics.

For teaching purposes.</translation>
    </message>
</context>
<context>
    <name>ormica::TFormCompare</name>
    <message>
        <source>Сравнение изображений: |основное − финишное|</source>
        <translation>Image comparison: |source − target|</translation>
    </message>
    <message>
        <source>Во сколько раз усилить разность (не более 255)</source>
        <translation>How many times to amplify the difference (at most 255)</translation>
    </message>
    <message>
        <source>все</source>
        <translation>all</translation>
    </message>
    <message>
        <source>Разность какого канала показать</source>
        <translation>Which channel&apos;s difference to show</translation>
    </message>
    <message>
        <source>Усиление:</source>
        <translation>Gain:</translation>
    </message>
    <message>
        <source>Канал:</source>
        <translation>Channel:</translation>
    </message>
    <message>
        <source>Различающихся пикселей</source>
        <translation>Differing pixels</translation>
    </message>
    <message>
        <source>Наибольшая разность</source>
        <translation>Largest difference</translation>
    </message>
    <message>
        <source>Средняя абсолютная разность</source>
        <translation>Mean absolute difference</translation>
    </message>
    <message>
        <source>Среднеквадратичная ошибка</source>
        <translation>Mean squared error</translation>
    </message>
    <message>
        <source>PSNR, дБ</source>
        <translation>PSNR, dB</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>%1 из %2</source>
        <translation>%1 of %2</translation>
    </message>
</context>
<context>
    <name>ormica::TFormDFilter</name>
    <message>
        <source> Заказной цифровой фильтр</source>
        <translation> Custom digital filter</translation>
    </message>
    <message>
        <source>Файлы</source>
        <translation>Files</translation>
    </message>
    <message>
        <source>Выход</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>Фильтры</source>
        <translation>Filters</translation>
    </message>
    <message>
        <source>База фильтров</source>
        <translation>Filter base</translation>
    </message>
    <message>
        <source>Операции</source>
        <translation>Operations</translation>
    </message>
    <message>
        <source>Применить фильтр к фрагменту</source>
        <translation>Apply filter to fragment</translation>
    </message>
    <message>
        <source>Применить фильтр к изображению</source>
        <translation>Apply filter to image</translation>
    </message>
    <message>
        <source>Частотная характеристика</source>
        <translation>Frequency response</translation>
    </message>
    <message>
        <source>Помощь</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Текущий цифровой фильтр</source>
        <translation>Current digital filter</translation>
    </message>
    <message>
        <source>Масштаб</source>
        <translation>Scale</translation>
    </message>
    <message>
        <source>Регуляторы</source>
        <translation>Sliders</translation>
    </message>
    <message>
        <source>Управление цифровым фильтром с помощью регуляторов</source>
        <translation>Control the filter with the sliders</translation>
    </message>
    <message>
        <source>Вручную</source>
        <translation>Manual</translation>
    </message>
    <message>
        <source>Прямое управление цифровым фильтром </source>
        <translation>Edit the filter weights directly </translation>
    </message>
    <message>
        <source>Изменить масштаб фильтра (управление яркостью)</source>
        <translation>Change the filter scale (brightness control)</translation>
    </message>
    <message>
        <source>Изменить фокус фильтра (управление деталировкой - контрастностью)</source>
        <translation>Change the filter focus (detail - contrast control)</translation>
    </message>
    <message>
        <source>Яркость</source>
        <translation>Brightness</translation>
    </message>
    <message>
        <source>Фокус</source>
        <translation>Focus</translation>
    </message>
    <message>
        <source>Ручное редактирование фильтра</source>
        <translation>Manual filter editing</translation>
    </message>
    <message>
        <source>Загрузить популярный обостряющий фильтр</source>
        <translation>Load a popular sharpening filter</translation>
    </message>
    <message>
        <source>Загрузить популярный сглаживающий фильтр</source>
        <translation>Load a popular smoothing filter</translation>
    </message>
    <message>
        <source>БД</source>
        <translation>DB</translation>
    </message>
    <message>
        <source>Вызвать базу данных цифровых фильтров</source>
        <translation>Open the digital filter database</translation>
    </message>
    <message>
        <source>▶Ф</source>
        <translation>▶F</translation>
    </message>
    <message>
        <source>Применить фильтр к скопированному фрагменту</source>
        <translation>Apply the filter to the copied fragment</translation>
    </message>
    <message>
        <source>▶И</source>
        <translation>▶I</translation>
    </message>
    <message>
        <source>Фильтровать ИСХОДНОЕ изображение. Результат в ФИНИШНОМ.</source>
        <translation>Filter the SOURCE image. Result in the TARGET.</translation>
    </message>
    <message>
        <source>ЧХ</source>
        <translation>FR</translation>
    </message>
    <message>
        <source>Показать частотную характеристику фильтра</source>
        <translation>Show the filter&apos;s frequency response</translation>
    </message>
    <message>
        <source>Пояснение</source>
        <translation>Explanation</translation>
    </message>
    <message>
        <source>Управление регуляторами</source>
        <translation>Slider control</translation>
    </message>
    <message>
        <source>%1<byte value="xd"/>
 Прежнее значение будет восстановлено.</source>
        <translation>%1<byte value="xd"/>
 The previous value will be restored.</translation>
    </message>
</context>
<context>
    <name>ormica::TFormGistogram</name>
    <message>
        <source>  Гистограммы</source>
        <translation>  Histograms</translation>
    </message>
    <message>
        <source>Гистограммы</source>
        <translation>Histograms</translation>
    </message>
    <message>
        <source>Функции преобразования</source>
        <translation>Transfer functions</translation>
    </message>
    <message>
        <source>Дополнительная статистика</source>
        <translation>Extra statistics</translation>
    </message>
</context>
<context>
    <name>ormica::TFormMicroBase</name>
    <message>
        <source>  Микробаза фильтров для обработки изображений</source>
        <translation>  Filter micro-base for image processing</translation>
    </message>
    <message>
        <source>  ТЕКУЩАЯ БАЗА : %1</source>
        <translation>  CURRENT BASE : %1</translation>
    </message>
    <message>
        <source>  НЕОБХОДИМО ОТКРЫТЬ БАЗУ ДАННЫХ!</source>
        <translation>  PLEASE OPEN A DATABASE!</translation>
    </message>
    <message>
        <source>  Текущая база : %1</source>
        <translation>  Current base : %1</translation>
    </message>
    <message>
        <source>Выборка рабочих записей</source>
        <translation>Working records</translation>
    </message>
    <message>
        <source>База (Open)</source>
        <translation>Base (Open)</translation>
    </message>
    <message>
        <source>  Текущая база : (Closed)</source>
        <translation>  Current base : (Closed)</translation>
    </message>
    <message>
        <source>База (Close)</source>
        <translation>Base (Close)</translation>
    </message>
    <message>
        <source>Открыть созданную базу с именем :<byte value="xd"/>
%1 ?</source>
        <translation>Open the new base named :<byte value="xd"/>
%1 ?</translation>
    </message>
    <message>
        <source>Открыть сохраненную базу с именем :<byte value="xd"/>
%1 ?</source>
        <translation>Open the saved base named :<byte value="xd"/>
%1 ?</translation>
    </message>
    <message>
        <source>Выборка удаленных записей</source>
        <translation>Deleted records</translation>
    </message>
    <message>
        <source>%1 (№ %2)</source>
        <translation>%1 (No. %2)</translation>
    </message>
    <message>
        <source>Пустой шаблон фильтра</source>
        <translation>Empty filter template</translation>
    </message>
    <message>
        <source>Вначале выберите некоторую запись селектором записей ...</source>
        <translation>First pick a record in the record selector ...</translation>
    </message>
    <message>
        <source>Наименование фильтра</source>
        <translation>Filter name</translation>
    </message>
    <message>
        <source>Комментарий к фильтру</source>
        <translation>Filter comment</translation>
    </message>
    <message>
        <source>Случайный М%1</source>
        <translation>Random S%1</translation>
    </message>
    <message>
        <source>Импортированный фильтр</source>
        <translation>Imported filter</translation>
    </message>
    <message>
        <source>База</source>
        <translation>Base</translation>
    </message>
    <message>
        <source>Новая база</source>
        <translation>New base</translation>
    </message>
    <message>
        <source>Открыть базу</source>
        <translation>Open base</translation>
    </message>
    <message>
        <source>Сохранить базу как ...</source>
        <translation>Save base as ...</translation>
    </message>
    <message>
        <source>Выход</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>Создать и открыть новую базу данных</source>
        <translation>Create and open a new database</translation>
    </message>
    <message>
        <source>Выбрать файл базы данных в диалоге</source>
        <translation>Choose a database file in a dialog</translation>
    </message>
    <message>
        <source>Сохранить текущую базу данных как ...</source>
        <translation>Save the current database as ...</translation>
    </message>
    <message>
        <source>База (Open/Close)</source>
        <translation>Base (Open/Close)</translation>
    </message>
    <message>
        <source>Режим выборки</source>
        <translation>Selection mode</translation>
    </message>
    <message>
        <source>Селектор (Навигатор) записей </source>
        <translation>Record selector (navigator) </translation>
    </message>
    <message>
        <source>Число записей в выборке</source>
        <translation>Records selected</translation>
    </message>
    <message>
        <source>Тип фильтров</source>
        <translation>Filter type</translation>
    </message>
    <message>
        <source>Все фильтры</source>
        <translation>All filters</translation>
    </message>
    <message>
        <source>Сглаживающие</source>
        <translation>Smoothing</translation>
    </message>
    <message>
        <source>Обостряющие</source>
        <translation>Sharpening</translation>
    </message>
    <message>
        <source>Специальные</source>
        <translation>Special</translation>
    </message>
    <message>
        <source>Сортировать</source>
        <translation>Sort</translation>
    </message>
    <message>
        <source>Рабочие</source>
        <translation>Working</translation>
    </message>
    <message>
        <source>Режим работы с основными записями базы</source>
        <translation>Work with the base&apos;s working records</translation>
    </message>
    <message>
        <source>Удаленные</source>
        <translation>Deleted</translation>
    </message>
    <message>
        <source>Режим восстановления удаленных записей</source>
        <translation>Restore deleted records</translation>
    </message>
    <message>
        <source>Восстановить</source>
        <translation>Restore</translation>
    </message>
    <message>
        <source>Восстановить удаленную запись</source>
        <translation>Restore the deleted record</translation>
    </message>
    <message>
        <source>Комментарий к фильтру </source>
        <translation>Filter comment </translation>
    </message>
    <message>
        <source>Индекс</source>
        <translation>Index</translation>
    </message>
    <message>
        <source>В полях записи присутствуют несохраненные изменения</source>
        <translation>The record&apos;s fields have unsaved changes</translation>
    </message>
    <message>
        <source>Масштаб</source>
        <translation>Scale</translation>
    </message>
    <message>
        <source>Тип фильтра</source>
        <translation>Filter type</translation>
    </message>
    <message>
        <source>Пересчитать масштаб текущего фильтра</source>
        <translation>Recompute the current filter&apos;s scale</translation>
    </message>
    <message>
        <source>Очистка полей текущего фильтра</source>
        <translation>Clear the current filter&apos;s fields</translation>
    </message>
    <message>
        <source>Сгенерировать случайный фильтр</source>
        <translation>Generate a random filter</translation>
    </message>
    <message>
        <source>Управление записями</source>
        <translation>Record commands</translation>
    </message>
    <message>
        <source>Добавить</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>Добавить запись в базу</source>
        <translation>Add the record to the base</translation>
    </message>
    <message>
        <source>Обновить</source>
        <translation>Update</translation>
    </message>
    <message>
        <source>Обновить текущую запись </source>
        <translation>Update the current record </translation>
    </message>
    <message>
        <source>Удалить</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Удалить текущую запись</source>
        <translation>Delete the current record</translation>
    </message>
    <message>
        <source>Импорт фильтра</source>
        <translation>Import filter</translation>
    </message>
    <message>
        <source>Экспорт фильтра</source>
        <translation>Export filter</translation>
    </message>
</context>
<context>
    <name>ormica::TFormOrmica</name>
    <message>
        <source>  Ormica Ver 3.5.3.1. (ДЛЯ УЧЕБНОГО ПРОЦЕССА)</source>
        <translation>  Ormica Ver 3.5.3.1. (FOR TEACHING PURPOSES)</translation>
    </message>
    <message>
        <source>Основное изображение</source>
        <comment>tab</comment>
        <translation>Source image</translation>
    </message>
    <message>
        <source>Финишное изображение</source>
        <comment>tab</comment>
        <translation>Target image</translation>
    </message>
    <message>
        <source>Файлы</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>Загрузить</source>
        <translation>&amp;Load</translation>
    </message>
    <message>
        <source>Основное изображение</source>
        <translation>&amp;Source image</translation>
    </message>
    <message>
        <source>Финишное изображение</source>
        <translation>&amp;Target image</translation>
    </message>
    <message>
        <source>Импорт из  *.TXT файлов</source>
        <translation>&amp;Import from *.TXT files</translation>
    </message>
    <message>
        <source>Сохранить</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>Экспорт в *.TXT файл</source>
        <translation>&amp;Export to a *.TXT file</translation>
    </message>
    <message>
        <source>Выход</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>Вид</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>Вертикальная прокрутка</source>
        <translation>&amp;Vertical scrolling</translation>
    </message>
    <message>
        <source>Плавная прокрутка</source>
        <translation>S&amp;mooth scrolling</translation>
    </message>
    <message>
        <source>Показывать подсказки</source>
        <translation>Show &amp;hints</translation>
    </message>
    <message>
        <source>Панель вращения и масштаба</source>
        <translation>&amp;Rotate and zoom bar</translation>
    </message>
    <message>
        <source>Редактирование</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>Отменить</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>Повторить</source>
        <translation>&amp;Redo</translation>
    </message>
    <message>
        <source>Clipboard</source>
        <translation>&amp;Clipboard</translation>
    </message>
    <message>
        <source>Копировать в Clipboard</source>
        <translation>&amp;Copy to Clipboard</translation>
    </message>
    <message>
        <source>Вставить из Clipboard</source>
        <translation>&amp;Paste from Clipboard</translation>
    </message>
    <message>
        <source>Копировать</source>
        <translation>C&amp;opy</translation>
    </message>
    <message>
        <source>Основное в финишное</source>
        <translation>&amp;Source to target</translation>
    </message>
    <message>
        <source>Финишное в основное</source>
        <translation>&amp;Target to source</translation>
    </message>
    <message>
        <source>Очистить</source>
        <translation>Cle&amp;ar</translation>
    </message>
    <message>
        <source>Обрезка краев</source>
        <translation>Cro&amp;p edges</translation>
    </message>
    <message>
        <source>Масштабирование</source>
        <translation>&amp;Scaling</translation>
    </message>
    <message>
        <source>Вызов подсистемы расширенного управления масштабированием</source>
        <translation>Opens the advanced scaling dialog</translation>
    </message>
    <message>
        <source>Обесцветить</source>
        <translation>Make &amp;grey</translation>
    </message>
    <message>
        <source>Операции</source>
        <translation>&amp;Operations</translation>
    </message>
    <message>
        <source>Гистограммы</source>
        <translation>&amp;Histograms</translation>
    </message>
    <message>
        <source> Только гистограммы</source>
        <translation> &amp;Histograms only</translation>
    </message>
    <message>
        <source>Гистограммы и фрагмент</source>
        <translation>Histograms and &amp;fragment</translation>
    </message>
    <message>
        <source>Фильтры</source>
        <translation>&amp;Filters</translation>
    </message>
    <message>
        <source>Изображение</source>
        <translation>&amp;Image</translation>
    </message>
    <message>
        <source>Сравнить изображения</source>
        <translation>&amp;Compare images</translation>
    </message>
    <message>
        <source>О программе</source>
        <translation>&amp;About</translation>
    </message>
    <message>
        <source> Всплывающие подсказки включены</source>
        <translation> Pop-up hints on</translation>
    </message>
    <message>
        <source> Всплывающие подсказки отключены</source>
        <translation> Pop-up hints off</translation>
    </message>
    <message>
        <source> ВНАЧЛЕ ВЕДЕЛИТЕ МЫШКОЙ НЕБОЛЬШОЙ ФРАГМЕНТ ИЗОБРАЖЕНИЯ</source>
        <translation> FIRST SELECT A SMALL FRAGMENT OF THE IMAGE WITH THE MOUSE</translation>
    </message>
    <message>
        <source> Отразить</source>
        <translation> Mirror</translation>
    </message>
    <message>
        <source>Отразить изображение по вертикали</source>
        <translation>Flip the image vertically</translation>
    </message>
    <message>
        <source>Отразить изображение по горизонтали</source>
        <translation>Flip the image horizontally</translation>
    </message>
    <message>
        <source>  Поверуть</source>
        <translation>  Rotate</translation>
    </message>
    <message>
        <source>Повернуть изображение по часовой стрелки на 90 градусов</source>
        <translation>Rotate the image 90 degrees clockwise</translation>
    </message>
    <message>
        <source>Повернуть изображение против часовой стрелки на 90 градусов</source>
        <translation>Rotate the image 90 degrees counter-clockwise</translation>
    </message>
    <message>
        <source> Угол  </source>
        <translation> Angle  </translation>
    </message>
    <message>
        <source>Поле ввода угла поворота в градусах относительно точки вращения с кординатами RRow, RCol</source>
        <translation>Rotation angle in degrees about the centre of rotation at RRow, RCol</translation>
    </message>
    <message>
        <source>Выполнить поворот изображения на указанный в градусах угол</source>
        <translation>Rotate the image by the angle given in degrees</translation>
    </message>
    <message>
        <source>  Центр  </source>
        <translation>  Centre  </translation>
    </message>
    <message>
        <source>Координаты центра вращения. Устанавливаются кликом мышки на основном изображении.</source>
        <translation>Coordinates of the centre of rotation. Set by a mouse click on the source image.</translation>
    </message>
    <message>
        <source>Фон</source>
        <translation>Fill</translation>
    </message>
    <message>
        <source>Выбор цвета заполнения полей, возникающих при операциях вращения. </source>
        <translation>Colour of the margins that rotation uncovers. </translation>
    </message>
    <message>
        <source>Выполнить быстрое масштабирование, указанное ползунком </source>
        <translation>Quick scaling by the percentage on the slider </translation>
    </message>
    <message>
        <source>Регулятор процента быстрого пропорционального масштабирования</source>
        <translation>Percentage of quick proportional scaling</translation>
    </message>
    <message>
        <source>Процент для быстрого масштабирования (если кликнуть на это поле то установится 100%) </source>
        <translation>Quick scaling percentage (a click on this field sets 100%) </translation>
    </message>
    <message>
        <source> Старт XY : (%1, %2)  RGB(%3,%4,%5)</source>
        <translation> Start XY : (%1, %2)  RGB(%3,%4,%5)</translation>
    </message>
    <message>
        <source> Финиш  XY : (%1, %2)</source>
        <translation> End  XY : (%1, %2)</translation>
    </message>
    <message>
        <source> ВНАЧЛЕ ВЕДЕЛИТЕ МЫШКОЙ СОХРАНЯЕМУЮ ОБРЕЗКОЙ ОБЛАСТЬ</source>
        <translation> FIRST SELECT THE AREA TO KEEP WITH THE MOUSE</translation>
    </message>
    <message>
        <source>Пояснение</source>
        <translation>Explanation</translation>
    </message>
    <message>
        <source>Пояснение</source>
        <comment>menu</comment>
        <translation>&amp;Explanation</translation>
    </message>
    <message>
        <source>Щелчок по точке изображения показывает, как она вычислена</source>
        <translation>A click on a pixel of the image shows how it was computed</translation>
    </message>
    <message>
        <source>Финишное изображение не вычислено операцией: пояснять нечего.</source>
        <translation>The target image was not computed by an operation: nothing to explain.</translation>
    </message>
    <message>
        <source>Основное изображение не вычислено операцией: пояснять нечего.</source>
        <translation>The source image was not computed by an operation: nothing to explain.</translation>
    </message>
    <message>
        <source> Операция может быть длительной</source>
        <translation> The operation may take long</translation>
    </message>
    <message>
        <source>%1 ГБ</source>
        <translation>%1 GB</translation>
    </message>
    <message>
        <source> Эту команду нельзя отменить: изображение больше %1</source>
        <translation> This command cannot be undone: the image is larger than %1</translation>
    </message>
    <message>
        <source> Недостаточно памяти для массива изображения</source>
        <translation> Not enough memory for the image array</translation>
    </message>
    <message>
        <source> Отмена невозможна: изображение больше %1</source>
        <translation> Cannot undo: the image is larger than %1</translation>
    </message>
    <message>
        <source> Повтор невозможен: изображение больше %1</source>
        <translation> Cannot redo: the image is larger than %1</translation>
    </message>
    <message>
        <source>Примеры</source>
        <translation>&amp;Samples</translation>
    </message>
    <message>
        <source>Справка</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>Содержание</source>
        <translation>&amp;Contents</translation>
    </message>
    <message>
        <source>Цвет пикселя в начальной точке выделения</source>
        <translation>Colour of the pixel where the selection starts</translation>
    </message>
    <message>
        <source>Индикатор внимания</source>
        <translation>Attention lamp</translation>
    </message>
    <message>
        <source> Файл основного изображения : %1</source>
        <translation> Source image file : %1</translation>
    </message>
    <message>
        <source> Файл финишного изображения : %1</source>
        <translation> Target image file : %1</translation>
    </message>
</context>
<context>
    <name>ormica::TFormResponse</name>
    <message>
        <source>Частотная характеристика</source>
        <translation>Frequency response</translation>
    </message>
    <message>
        <source>Модуль частотной характеристики на частотах u и v, периодов на пиксель</source>
        <translation>Magnitude of the frequency response at frequencies u and v, cycles per pixel</translation>
    </message>
    <message>
        <source>Сечения частотной характеристики через нулевую частоту; штриховая линия - усиление яркости</source>
        <translation>Cuts of the frequency response through zero frequency; dashed line - brightness gain</translation>
    </message>
    <message>
        <source>Усиление яркости: нет (масштаб меньше единицы)</source>
        <translation>Brightness gain: none (scale below one)</translation>
    </message>
    <message>
        <source>Усиление яркости: %1</source>
        <translation>Brightness gain: %1</translation>
    </message>
</context>
<context>
    <name>ormica::TFormScaleDialog</name>
    <message>
        <source>Пиксели</source>
        <translation>Pixels</translation>
    </message>
    <message>
        <source>Проценты</source>
        <translation>Percent</translation>
    </message>
    <message>
        <source>  Размер рисунка</source>
        <translation>  Picture size</translation>
    </message>
    <message>
        <source> Сохранять пропорции</source>
        <translation> Keep proportions</translation>
    </message>
    <message>
        <source>Метод масштабирования</source>
        <translation>Scaling method</translation>
    </message>
    <message>
        <source>Резерв 1</source>
        <translation>Reserve 1</translation>
    </message>
    <message>
        <source>Резерв 2</source>
        <translation>Reserve 2</translation>
    </message>
    <message>
        <source>Ширина исходного изображения</source>
        <translation>Width of the source image</translation>
    </message>
    <message>
        <source>Высота исходного изображения</source>
        <translation>Height of the source image</translation>
    </message>
    <message>
        <source>Ширина</source>
        <translation>Width</translation>
    </message>
    <message>
        <source>Высота</source>
        <translation>Height</translation>
    </message>
    <message>
        <source>  Выполнить</source>
        <translation>  Run</translation>
    </message>
    <message>
        <source>  Отмена</source>
        <translation>  Cancel</translation>
    </message>
    <message>
        <source> Назад</source>
        <translation> Back</translation>
    </message>
    <message>
        <source>Не выполнена предустановка Images.<byte value="xd"/>
Форма будет закрыта ...</source>
        <translation>The Images were not set beforehand.<byte value="xd"/>
The form will be closed ...</translation>
    </message>
    <message>
        <source> Количество пикселей: %1 (было: %2)</source>
        <translation> Number of pixels: %1 (was: %2)</translation>
    </message>
    <message>
        <source>Пока НЕ реализовано</source>
        <translation>NOT implemented yet</translation>
    </message>
</context>
<context>
    <name>ormica::TFragmentTab</name>
    <message>
        <source>Кликните на изображении</source>
        <translation>Click on the image</translation>
    </message>
    <message>
        <source>Координаты выбраны</source>
        <translation>Point chosen</translation>
    </message>
    <message>
        <source>Идет выбор координат</source>
        <translation>Choosing a point</translation>
    </message>
    <message>
        <source>Выборка на изображении</source>
        <translation>Sample on the image</translation>
    </message>
    <message>
        <source>Строка</source>
        <translation>Row</translation>
    </message>
    <message>
        <source>Столбец</source>
        <translation>Column</translation>
    </message>
    <message>
        <source>  Фрагмент изображения  </source>
        <translation>  Image fragment  </translation>
    </message>
    <message>
        <source>Ширина</source>
        <translation>Width</translation>
    </message>
    <message>
        <source>Высота</source>
        <translation>Height</translation>
    </message>
    <message>
        <source>Число точек</source>
        <translation>Pixels</translation>
    </message>
    <message>
        <source>Канал</source>
        <translation>Channel</translation>
    </message>
    <message>
        <source>Выбрать канал RED</source>
        <translation>Choose channel RED</translation>
    </message>
    <message>
        <source>Выбрать канал GREEN</source>
        <translation>Choose channel GREEN</translation>
    </message>
    <message>
        <source>Выбрать канал BLUE</source>
        <translation>Choose channel BLUE</translation>
    </message>
    <message>
        <source>Выбрать канал LIGHT</source>
        <translation>Choose channel LIGHT</translation>
    </message>
    <message>
        <source>Выборка по каналу цвета</source>
        <translation>Colour channel</translation>
    </message>
    <message>
        <source>Вборка по столб./строка</source>
        <translation>Column or row</translation>
    </message>
    <message>
        <source>Для автокорреляции выбрать СТОЛБЕЦ</source>
        <translation>Take a COLUMN for the autocorrelation</translation>
    </message>
    <message>
        <source>Для автокорреляции выбрать СТРОКУ</source>
        <translation>Take a ROW for the autocorrelation</translation>
    </message>
    <message>
        <source>Мат. ожидание</source>
        <translation>Mean</translation>
    </message>
    <message>
        <source>Дисперсия</source>
        <translation>Variance</translation>
    </message>
    <message>
        <source>Тип статистической операции</source>
        <translation>Statistical operation</translation>
    </message>
    <message>
        <source> Автокорреляция</source>
        <translation> Autocorrelation</translation>
    </message>
    <message>
        <source> Свертка с Func ( X )</source>
        <translation> Convolution with Func ( X )</translation>
    </message>
    <message>
        <source> Статистика по фрагменту изображения</source>
        <translation> Fragment statistics</translation>
    </message>
    <message>
        <source>  Функции для свертки</source>
        <translation>  Convolution functions</translation>
    </message>
    <message>
        <source> Фрагмент изображения  </source>
        <translation> Image fragment  </translation>
    </message>
    <message>
        <source>  Специальные статистические оценки  </source>
        <translation>  Special estimates  </translation>
    </message>
    <message>
        <source>Отношение числа всех точек фрагмента к изображению</source>
        <translation>Ratio of the fragment&apos;s pixel count to the image&apos;s</translation>
    </message>
    <message>
        <source>Отношение уровня яркости  фрагмента к изображению</source>
        <translation>Ratio of the fragment&apos;s brightness to the image&apos;s</translation>
    </message>
    <message>
        <source>Средняя яркость Light фрагмента в процентах от средней яркости Light всего изображения</source>
        <translation>The fragment&apos;s mean Light as a percentage of the whole image&apos;s mean Light</translation>
    </message>
    <message>
        <source>График центрированной мат. ожиданием выборки</source>
        <translation>The sample centred on its mean</translation>
    </message>
    <message>
        <source>График функции автокорреляции или свертки</source>
        <translation>Autocorrelation or convolution</translation>
    </message>
    <message>
        <source>Функция для свертки</source>
        <translation>Convolution function</translation>
    </message>
    <message>
        <source>Фрагмент изображения не загружен</source>
        <translation>No image fragment is loaded</translation>
    </message>
</context>
<context>
    <name>ormica::THelpWindow</name>
    <message>
        <source>Справка Ormica</source>
        <translation>Ormica Help</translation>
    </message>
    <message>
        <source>Поиск по справке</source>
        <translation>Search the help</translation>
    </message>
    <message>
        <source>Ничего не найдено</source>
        <translation>Nothing found</translation>
    </message>
    <message>
        <source>Закройте окно инструмента, чтобы открыть пример.</source>
        <translation>Close the tool window to open a sample.</translation>
    </message>
</context>
<context>
    <name>ormica::THistogramTab</name>
    <message>
        <source>Статические и вероятностные оценки по генеральной совокупности точек изображения</source>
        <translation>Statistical and probabilistic estimates over all pixels of the image</translation>
    </message>
    <message>
        <source>Общее число точек</source>
        <translation>Total pixels</translation>
    </message>
    <message>
        <source>Абсолютно черные точки</source>
        <translation>Pure black pixels</translation>
    </message>
    <message>
        <source>Число</source>
        <translation>Count</translation>
    </message>
    <message>
        <source>Процент</source>
        <translation>Percent</translation>
    </message>
    <message>
        <source>Абсолютно белые точки</source>
        <translation>Pure white pixels</translation>
    </message>
    <message>
        <source>Выбранный канал</source>
        <translation>Chosen channel</translation>
    </message>
    <message>
        <source>Уровень яркости</source>
        <translation>Brightness level</translation>
    </message>
    <message>
        <source>Число  точек</source>
        <translation>Pixels</translation>
    </message>
    <message>
        <source>Математ. ожидание</source>
        <translation>Mean</translation>
    </message>
    <message>
        <source>Математическое ожидание</source>
        <translation>Mean (expected value)</translation>
    </message>
    <message>
        <source>Дисперсия</source>
        <translation>Variance</translation>
    </message>
    <message>
        <source>Дисперсия генеральной совокупности</source>
        <translation>Population variance</translation>
    </message>
    <message>
        <source>Стандарт. отклонение</source>
        <translation>Std. deviation</translation>
    </message>
    <message>
        <source>Стандартное отклонение</source>
        <translation>Standard deviation</translation>
    </message>
    <message>
        <source>Основое изображение</source>
        <translation>Source image</translation>
    </message>
    <message>
        <source>Финишное изображение</source>
        <translation>Target image</translation>
    </message>
    <message>
        <source>   Гистограммы : ФИНИШНОЕ изображение</source>
        <translation>   Histograms : TARGET image</translation>
    </message>
    <message>
        <source>   Гистограммы : ОСНОВНОЕ изображение</source>
        <translation>   Histograms : SOURCE image</translation>
    </message>
</context>
<context>
    <name>ormica::TImportTxtDialog</name>
    <message>
        <source>Импорт из текстового файла</source>
        <translation>Import from a text file</translation>
    </message>
    <message>
        <source>ИМПОРТ</source>
        <translation>IMPORT</translation>
    </message>
    <message>
        <source>Как изображение можно импортировать текстовый файл, содержащий только строки пикселей, в которых значения B, G, R записаны десятичными числами от 0 до 255 в формате: B разделитель G разделитель R разделитель</source>
        <translation>A text file can be imported as an image if it holds only rows of pixels whose B, G, R values are decimal numbers from 0 to 255 in the format: B separator G separator R separator</translation>
    </message>
</context>
<context>
    <name>ormica::TMagnifier</name>
    <message>
        <source>Масштаб: Ctrl + колесо мыши, клавиши + и -</source>
        <translation>Zoom: Ctrl + mouse wheel, keys + and -</translation>
    </message>
</context>
<context>
    <name>ormica::TNeighbourhoodView</name>
    <message>
        <source>Увеличить или уменьшить: Ctrl+колесо мыши, клавиши + и -</source>
        <translation>Zoom in or out: Ctrl+mouse wheel, keys + and -</translation>
    </message>
</context>
<context>
    <name>ormica::TTextImageDialog</name>
    <message>
        <source>Выбор разелителя между B,G,R</source>
        <translation>Separator between B,G,R</translation>
    </message>
    <message>
        <source>Знак табуляции</source>
        <translation>Tab</translation>
    </message>
    <message>
        <source>Точка с запятой</source>
        <translation>Semicolon</translation>
    </message>
    <message>
        <source>Другой знак</source>
        <translation>Other character</translation>
    </message>
</context>
<context>
    <name>ormica::TTransferTab</name>
    <message>
        <source>Кусочно-линейная функция преобразоваия</source>
        <translation>Piecewise linear transfer function</translation>
    </message>
    <message>
        <source>Генерация таблицы различными функциями</source>
        <translation>Table generated by functions</translation>
    </message>
    <message>
        <source>Новая функция преобразования</source>
        <translation>New transfer function</translation>
    </message>
    <message>
        <source>Добавить точку ( Left - DbClick )   Удалить точку ( Right DbClick )   Переместить точку ( Left ) </source>
        <translation>Add point ( Left - DbClick )   Delete point ( Right DbClick )   Move point ( Left ) </translation>
    </message>
    <message>
        <source>Гистограмма яркости ФИНИШНОГО изображения</source>
        <translation>Brightness histogram of the TARGET image</translation>
    </message>
    <message>
        <source>Правая кнопка: сохранить рисунок или гистограмму ОСНОВНОГО изображения</source>
        <translation>Right button: save the picture or the SOURCE image&apos;s histogram</translation>
    </message>
    <message>
        <source>точно</source>
        <translation>exact</translation>
    </message>
    <message>
        <source>оценка по выборке</source>
        <translation>estimated from a sample</translation>
    </message>
    <message>
        <source>Новая</source>
        <translation>New</translation>
    </message>
    <message>
        <source>Негатив</source>
        <translation>Negative</translation>
    </message>
    <message>
        <source>Преобразовать функцию в негативную или позитивную</source>
        <translation>Turn the function negative or positive</translation>
    </message>
    <message>
        <source>Временно сохранить функцию</source>
        <translation>Keep the function in memory</translation>
    </message>
    <message>
        <source>Загрузить временно сохраненную функцию</source>
        <translation>Recall the function kept in memory</translation>
    </message>
    <message>
        <source>Сохранить в файл</source>
        <translation>Save to file</translation>
    </message>
    <message>
        <source>Загрузить из файла</source>
        <translation>Load from file</translation>
    </message>
    <message>
        <source>Применить</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>Применить функцию преобразования к исходному изображению с результатом в финишном</source>
        <translation>Apply the transfer function to the source image, result in the target</translation>
    </message>
    <message>
        <source>Гладкие</source>
        <translation>Smooth</translation>
    </message>
    <message>
        <source>Специальные</source>
        <translation>Special</translation>
    </message>
    <message>
        <source>Формула порождающей функции</source>
        <translation>Generating function formula</translation>
    </message>
    <message>
        <source> Не выбрана</source>
        <translation> None</translation>
    </message>
    <message>
        <source>Диапазон порождающей функции</source>
        <translation>Generating function range</translation>
    </message>
    <message>
        <source>Число точек</source>
        <translation>Points</translation>
    </message>
    <message>
        <source>Тип специальной порождающей функции</source>
        <translation>Special generating function type</translation>
    </message>
    <message>
        <source> Ступенчатая</source>
        <translation> Steps</translation>
    </message>
    <message>
        <source> Решетчатая</source>
        <translation> Grating</translation>
    </message>
    <message>
        <source>Параметры участков специальной функции</source>
        <translation>Special function sections</translation>
    </message>
    <message>
        <source>Ширина решотки</source>
        <translation>Grating width</translation>
    </message>
    <message>
        <source>Число участков</source>
        <translation>Sections</translation>
    </message>
    <message>
        <source>Добавлена новая точка</source>
        <translation>New point added</translation>
    </message>
    <message>
        <source>Одна из точек удалена</source>
        <translation>A point was deleted</translation>
    </message>
    <message>
        <source>Выбранная точка сдвинута</source>
        <translation>The chosen point was moved</translation>
    </message>
    <message>
        <source>Точки инвертированы по Y</source>
        <translation>Points inverted in Y</translation>
    </message>
    <message>
        <source>Выполнено временное сохранение</source>
        <translation>Function kept in memory</translation>
    </message>
    <message>
        <source>Загружено временное сохранение</source>
        <translation>Function recalled from memory</translation>
    </message>
</context>
</TS>
